// pagewick-cli against a hostile folder: every command finishes, exits 0 and prints sound texts.

#include "engine/order/nameorder.h"
#include "hostilefolder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::Literals::StringLiterals;

class HostileCliTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp;
    hostile::Folder folder;
    QStringList listed; // in the order the program lists pages
    QString deepTop;    // a page, and a chain of kDeepLevels folders with a page at the bottom
    hostile::DeepChain deep;
    static constexpr int kDeepLevels = 25000;

    static QString problems(const QStringList& list) { return list.mid(0, 20).join(u"\n"_s); }

    static hostile::CliResult run(const QStringList& arguments) {
        return hostile::RunCli(QStringLiteral(PAGEWICK_CLI), arguments);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        QString error;
        QVERIFY2(folder.build(tmp.path(), &error), qPrintable(error));
        listed = folder.pageNames();
        pagewick::PageNameOrder().sortNames(listed);
        deepTop = tmp.path() + u"/deep"_s;
        QVERIFY(QDir().mkpath(deepTop));
        QFile top(deepTop + u"/top.htm"_s);
        QVERIFY(top.open(QIODevice::WriteOnly) && top.write("<title>Top</title>") > 0);
        QVERIFY2(deep.build(QFile::encodeName(deepTop), kDeepLevels, "<title>Bottom</title>", &error),
                 qPrintable(error));
    }

    void cleanupTestCase() {
        QVERIFY(folder.remove());
        QVERIFY(deep.remove());
    }

    // Folders far deeper than a path may be long: every command ends cleanly, and the page at
    // the bottom is listed and read.
    void anyDepth_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("expected"); // $B: the bottom page's path
        QTest::addColumn<int>("exitCode");
        QTest::newRow("titles") << QStringList{u"titles"_s, u"--recursive"_s}
                                << QByteArray("$B\tBottom\ntop.htm\tTop\n") << 0;
        QTest::newRow("titles, --max-depth above the bottom")
            << QStringList{u"titles"_s, u"--max-depth"_s, QString::number(kDeepLevels - 1)}
            << QByteArray("top.htm\tTop\n") << 0;
        QTest::newRow("index") << QStringList{u"index"_s, u"--recursive"_s}
                               << QByteArray("<ul>\r\n<li><a href=\"$B\">Bottom</a>\r\n"
                                             "<li><a href=\"top.htm\">Top</a>\r\n</ul>")
                               << 0;
        QTest::newRow("rss, by date") << QStringList{u"rss"_s,    u"--recursive"_s, u"--feed-title"_s,
                                                     u"F"_s,      u"--site-url"_s,  u"https://e.org/"_s,
                                                     u"--sort"_s, u"date"_s,        u"--dates"_s}
                                      << QByteArray("<link>https://e.org/$B</link>") << 0;
        QTest::newRow("check") << QStringList{u"check"_s, u"--recursive"_s}
                               << QByteArray("Nothing found; 2 pages checked\n") << 0;
    }

    void anyDepth() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, expected);
        QFETCH(int, exitCode);
        arguments.insert(1, deepTop);
        const hostile::CliResult r = run(arguments);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.exitCode, exitCode);
        expected.replace("$B", deep.pagePath().toUtf8());
        if (arguments.first() == u"rss"_s)
            QVERIFY(r.out.contains(expected));
        else
            QCOMPARE(r.out, expected);
    }

    void indexLinksEveryPage_data() {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("folder as typed") << QString();
        QTest::newRow("final separator") << u"/"_s;
    }

    void indexLinksEveryPage() {
        QFETCH(QString, suffix);
        const hostile::CliResult r = run({u"index"_s, folder.path + suffix});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QByteArray());
        const QStringList found = hostile::CheckIndex(QString::fromUtf8(r.out), folder, listed, false);
        QVERIFY2(found.isEmpty(), qPrintable(problems(found)));
    }

    void pageHoldsTheIndex_data() {
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << u"My site"_s;
        QTest::newRow("markup and controls") << u"<b>&</b> \"q\" \x01 \u00f1"_s;
        QTest::newRow("empty") << QString();
    }

    void pageHoldsTheIndex() {
        QFETCH(QString, title);
        const hostile::CliResult r = run({u"page"_s, folder.path, u"--title"_s, title});
        QCOMPARE(r.exitCode, 0);
        const QString page = QString::fromUtf8(r.out);
        const QString head = u"<html><head><meta charset=\"utf-8\"><title>"_s + title +
                             u"</title></head><body><h1>"_s + title + u"</h1>"_s;
        const QString tail = u"</body></html>\r\n"_s;
        QVERIFY(page.startsWith(head));
        QVERIFY(page.endsWith(tail));
        const QString index = page.mid(head.size(), page.size() - head.size() - tail.size());
        const QStringList found = hostile::CheckIndex(index, folder, listed, false);
        QVERIFY2(found.isEmpty(), qPrintable(problems(found)));
    }

    void rssIsXmlWithOneItemPerPage_data() {
        QTest::addColumn<QString>("feedTitle");
        QTest::addColumn<QString>("siteUrl");
        QTest::newRow("plain") << u"News"_s << u"http://example.org"_s;
        QTest::newRow("markup and controls") << u"Tom & Jerry <b> &eacute; &bogus; ]]> &#0; \x01\x0b"_s
                                             << u"http://example.org/a b?c=1&d=<2>"_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void rssIsXmlWithOneItemPerPage() {
        QFETCH(QString, feedTitle);
        QFETCH(QString, siteUrl);
        const hostile::CliResult r =
            run({u"rss"_s, folder.path, u"--feed-title"_s, feedTitle, u"--site-url"_s, siteUrl});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QByteArray());
        const QStringList found = hostile::CheckFeed(QString::fromUtf8(r.out), folder, listed, false);
        QVERIFY2(found.isEmpty(), qPrintable(problems(found)));
    }

    // The published texts with every option that reads more of a page: well-formed XML, one
    // element a page, whatever the pages hold.
    void publishedTextsAreXml_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("element"); // the element that stands for a page
        const QString site = u"https://example.org/s&a=1&b=2/"_s;
        QTest::newRow("rss") << QStringList{u"rss"_s,  u"--feed-title"_s, u"<&>"_s,     u"--site-url"_s,
                                            site,      u"--guid"_s,       u"--dates"_s, u"--description"_s,
                                            u"meta"_s, u"--sort"_s,       u"date"_s,    u"--feed-url"_s,
                                            site}
                             << u"item"_s;
        QTest::newRow("atom") << QStringList{u"atom"_s, u"--feed-title"_s, u"<&>"_s,    u"--site-url"_s,
                                             site,      u"--feed-url"_s,   site,        u"--description"_s,
                                             u"meta"_s, u"--sort"_s,       u"natural"_s}
                              << u"entry"_s;
        QTest::newRow("sitemap") << QStringList{u"sitemap"_s, u"--site-url"_s, site, u"--lastmod"_s}
                                 << u"url"_s;
    }

    void publishedTextsAreXml() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, element);
        arguments.insert(1, folder.path);
        const hostile::CliResult r = run(arguments);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QByteArray());
        QXmlStreamReader xml(r.out);
        qsizetype pages = 0;
        while (!xml.atEnd())
            pages += xml.readNext() == QXmlStreamReader::StartElement && xml.name() == element;
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(pages, listed.size());
    }

    // One line a page for a script: the name's bytes, a tab, the title. Names that hold a line
    // break make more lines, but every page is there with its own title.
    void titlesNamesEveryPage() {
        const hostile::CliResult r = run({u"titles"_s, folder.path});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QByteArray());
        for (const hostile::Page& page : folder.pages) {
            if (page.label == hostile::Label::Title)
                QVERIFY2(r.out.contains(page.name + '\t' + page.title.toUtf8() + '\n'),
                         page.name.constData());
        }
    }

    // The check reads every page to its end (a sparse giant, names of any bytes) and finishes: one
    // JSON array whose findings name listed pages, with every page without a title among them.
    void checkNamesPagesWithoutTitles() {
        const hostile::CliResult r = run({u"check"_s, folder.path, u"--format"_s, u"json"_s});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QByteArray());
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(r.out, &error);
        QVERIFY2(json.isArray(), qPrintable(error.errorString()));
        QSet<QString> untitled;
        for (const QJsonValue& finding : json.array()) {
            const QString page = finding[u"page"_s].toString();
            QVERIFY2(listed.contains(page), qPrintable(page));
            const QString kind = finding[u"kind"_s].toString();
            if (kind == u"no-title"_s || kind == u"empty-title"_s || kind == u"unreadable"_s)
                untitled.insert(page);
        }
        for (const hostile::Page& page : folder.pages) {
            if (page.label == hostile::Label::Path)
                QVERIFY2(untitled.contains(page.fileName()), page.name.constData());
        }
    }
};

QTEST_GUILESS_MAIN(HostileCliTest)
#include "tst_hostile_cli.moc"
