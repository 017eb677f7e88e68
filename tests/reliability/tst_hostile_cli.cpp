// pagewick-cli against a hostile folder: every command finishes, exits 0 and prints sound texts.

#include "engine/scan.h"
#include "hostilefolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

class HostileCliTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp;
    hostile::Folder folder;
    QStringList listed; // in the order the program lists pages

    static QString problems(const QStringList& list) { return list.mid(0, 20).join(QStringLiteral("\n")); }

    static hostile::CliResult run(const QStringList& arguments) {
        return hostile::RunCli(QStringLiteral(PAGEWICK_CLI), arguments);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        QString error;
        QVERIFY2(folder.build(tmp.path(), &error), qPrintable(error));
        listed = folder.pageNames();
        pagewick::SortPageNames(listed);
    }

    void cleanupTestCase() { QVERIFY(folder.remove()); }

    void indexLinksEveryPage_data() {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("folder as typed") << QString();
        QTest::newRow("final separator") << QStringLiteral("/");
    }

    void indexLinksEveryPage() {
        QFETCH(QString, suffix);
        const hostile::CliResult r = run({QStringLiteral("index"), folder.path + suffix});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QByteArray());
        const QStringList found = hostile::CheckIndex(QString::fromUtf8(r.out), folder, listed, false);
        QVERIFY2(found.isEmpty(), qPrintable(problems(found)));
    }

    void pageHoldsTheIndex_data() {
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << QStringLiteral("My site");
        QTest::newRow("markup and controls") << QStringLiteral("<b>&</b> \"q\" \x01 \u00f1");
        QTest::newRow("empty") << QString();
    }

    void pageHoldsTheIndex() {
        QFETCH(QString, title);
        const hostile::CliResult r =
            run({QStringLiteral("page"), folder.path, QStringLiteral("--title"), title});
        QCOMPARE(r.exitCode, 0);
        const QString page = QString::fromUtf8(r.out);
        const QString head = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") + title +
                             QStringLiteral("</title></head><body><h1>") + title + QStringLiteral("</h1>");
        const QString tail = QStringLiteral("</body></html>\r\n");
        QVERIFY(page.startsWith(head));
        QVERIFY(page.endsWith(tail));
        const QString index = page.mid(head.size(), page.size() - head.size() - tail.size());
        const QStringList found = hostile::CheckIndex(index, folder, listed, false);
        QVERIFY2(found.isEmpty(), qPrintable(problems(found)));
    }

    void rssIsXmlWithOneItemPerPage_data() {
        QTest::addColumn<QString>("feedTitle");
        QTest::addColumn<QString>("siteUrl");
        QTest::newRow("plain") << QStringLiteral("News") << QStringLiteral("http://example.org");
        QTest::newRow("markup and controls")
            << QStringLiteral("Tom & Jerry <b> &eacute; &bogus; ]]> &#0; \x01\x0b")
            << QStringLiteral("http://example.org/a b?c=1&d=<2>");
        QTest::newRow("empty") << QString() << QString();
    }

    void rssIsXmlWithOneItemPerPage() {
        QFETCH(QString, feedTitle);
        QFETCH(QString, siteUrl);
        const hostile::CliResult r = run({QStringLiteral("rss"), folder.path, QStringLiteral("--feed-title"),
                                          feedTitle, QStringLiteral("--site-url"), siteUrl});
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
        const QString site = QStringLiteral("https://example.org/s?a=1&b=2");
        QTest::newRow("rss") << QStringList{QStringLiteral("rss"),
                                            QStringLiteral("--feed-title"),
                                            QStringLiteral("<&>"),
                                            QStringLiteral("--site-url"),
                                            site,
                                            QStringLiteral("--guid"),
                                            QStringLiteral("--dates"),
                                            QStringLiteral("--description"),
                                            QStringLiteral("meta"),
                                            QStringLiteral("--sort"),
                                            QStringLiteral("date"),
                                            QStringLiteral("--feed-url"),
                                            site}
                             << QStringLiteral("item");
        QTest::newRow("atom") << QStringList{QStringLiteral("atom"),
                                             QStringLiteral("--feed-title"),
                                             QStringLiteral("<&>"),
                                             QStringLiteral("--site-url"),
                                             site,
                                             QStringLiteral("--feed-url"),
                                             site,
                                             QStringLiteral("--description"),
                                             QStringLiteral("meta"),
                                             QStringLiteral("--sort"),
                                             QStringLiteral("natural")}
                              << QStringLiteral("entry");
        QTest::newRow("sitemap") << QStringList{QStringLiteral("sitemap"), QStringLiteral("--site-url"), site,
                                                QStringLiteral("--lastmod")}
                                 << QStringLiteral("url");
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
        const hostile::CliResult r = run({QStringLiteral("titles"), folder.path});
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
        const hostile::CliResult r =
            run({QStringLiteral("check"), folder.path, QStringLiteral("--format"), QStringLiteral("json")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QByteArray());
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(r.out, &error);
        QVERIFY2(json.isArray(), qPrintable(error.errorString()));
        QSet<QString> untitled;
        for (const QJsonValue& finding : json.array()) {
            const QString page = finding[QStringLiteral("page")].toString();
            QVERIFY2(listed.contains(page), qPrintable(page));
            const QString kind = finding[QStringLiteral("kind")].toString();
            if (kind == QStringLiteral("no-title") || kind == QStringLiteral("empty-title") ||
                kind == QStringLiteral("unreadable"))
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
