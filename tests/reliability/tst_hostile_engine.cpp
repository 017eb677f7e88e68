// The engine against a hostile folder: scan, titles, index and feed finish, and say the right thing.

#include "engine/check/sitecheck.h"
#include "engine/listing/scan.h"
#include "engine/listing/sitewalk.h"
#include "engine/order/nameorder.h"
#include "engine/output/feed.h"
#include "engine/output/index.h"
#include "engine/reading/title.h"
#include "engine/reading/title_p.h"
#include "engine/text/decode.h"
#include "engine/text/decode_p.h"
#include "hostilefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class HostileEngineTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp;
    hostile::Folder folder;
    hostile::DeepChain deep;
    static constexpr int kDeepLevels = 25000;

    static QString problems(const QStringList& list) { return list.mid(0, 20).join(u"\n"_s); }

    // The listed pages, as the main window orders them.
    QStringList sortedScan(const QString& folderText) const {
        QStringList names = ScanPageFiles(folderText);
        PageNameOrder().sortNames(names);
        return names;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        QString error;
        QVERIFY2(folder.build(tmp.path(), &error), qPrintable(error));
    }

    void init() { QVERIFY(folder.restoreVanishing()); }

    void cleanupTestCase() {
        QVERIFY(folder.remove());
        QVERIFY(deep.remove());
    }

    void scanListsEveryPageAndNothingElse_data() {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("folder as typed") << QString();
        QTest::newRow("final separator") << u"/"_s;
    }

    void scanListsEveryPageAndNothingElse() {
        QFETCH(QString, suffix);
        const QStringList names = sortedScan(folder.path + suffix);
        const QStringList expected = folder.pageNames();
        QCOMPARE(QSet<QString>(names.begin(), names.end()), QSet<QString>(expected.begin(), expected.end()));
        QCOMPARE(names.size(), expected.size());
        for (qsizetype i = 1; i < names.size(); ++i)
            QVERIFY2(PageNameOrder().nameLess(names[i - 1], names[i]),
                     qPrintable(names[i - 1] + u" / "_s + names[i]));
    }

    void indexHasOneLinePerPage_data() {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("vanished");
        QTest::newRow("all pages there") << QString() << false;
        QTest::newRow("final separator") << u"/"_s << false;
        QTest::newRow("page deleted after the scan") << QString() << true;
    }

    void indexHasOneLinePerPage() {
        QFETCH(QString, suffix);
        QFETCH(bool, vanished);
        const QStringList names = sortedScan(folder.path + suffix);
        if (vanished)
            QVERIFY(folder.removeVanishing());
        const QString index = BuildIndexText(folder.path + suffix, names);
        const QStringList found = hostile::CheckIndex(index, folder, names, vanished);
        QVERIFY2(found.isEmpty(), qPrintable(problems(found)));
    }

    void feedIsXmlWithOneItemPerPage_data() {
        QTest::addColumn<QString>("feedTitle");
        QTest::addColumn<QString>("siteUrl");
        QTest::addColumn<bool>("vanished");
        QTest::newRow("plain answers") << u"News"_s << u"http://example.org"_s << false;
        QTest::newRow("page deleted after the scan") << u"News"_s << u"http://example.org/"_s << true;
        QTest::newRow("markup in the answers")
            << u"Tom & Jerry <b> &eacute; &bogus; ]]> &#0; &#x110000; \x01\x0b"_s
            << u"http://example.org/a b?c=1&d=<2>&amp;"_s << false;
        QTest::newRow("empty answers") << QString() << QString() << false;
        QTest::newRow("lone surrogates")
            << (u"lone "_s + QChar(0xD800)) << (u"http://x/"_s + QChar(0xDC00)) << true;
    }

    void feedIsXmlWithOneItemPerPage() {
        QFETCH(QString, feedTitle);
        QFETCH(QString, siteUrl);
        QFETCH(bool, vanished);
        const QStringList names = sortedScan(folder.path);
        if (vanished)
            QVERIFY(folder.removeVanishing());
        const QString feed = BuildFeedText(
            {.folderText = folder.path, .pageNames = names, .feedTitle = feedTitle, .siteUrl = siteUrl});
        const QStringList found = hostile::CheckFeed(feed, folder, names, vanished);
        QVERIFY2(found.isEmpty(), qPrintable(problems(found)));
    }

    // What the double-click box shows first: the title, or the path for a page that has none or
    // is gone. Also for the names that look like pages but are not files.
    void everyPathGetsAnAnswer_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("titled");
        for (const hostile::Page& page : folder.pages) {
            if (page.label != hostile::Label::Any)
                QTest::newRow(page.name.toPercentEncoding().constData())
                    << page.name << (page.label != hostile::Label::Path && !page.vanishes);
        }
        for (const char* name :
             {"fifo.htm", "live-fifo.htm", "zero.htm", "urandom-link.htm", "broken.htm", "loop-a.htm",
              "self-loop.htm", "folder-link.htm", "x.html", "never-there.htm"})
            QTest::newRow(name) << QByteArray(name) << false;
    }

    void everyPathGetsAnAnswer() {
        QFETCH(QByteArray, name);
        QFETCH(bool, titled);
        if (name == hostile::kVanishingName)
            QVERIFY(folder.removeVanishing());
        const QString path = PagePath(folder.path, FileNameFromBytes(name));
        // A FIFO with a writer and a title waiting in it.
        int writer = -1;
        if (name == "live-fifo.htm") {
            writer = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
            QVERIFY(writer >= 0);
            QCOMPARE(::write(writer, "<title>Pipe</title>", 19), ssize_t(19));
        }
        const auto closeWriter = qScopeGuard([writer] {
            if (writer >= 0)
                ::close(writer);
        });
        const QString answer = ExtractTitle(path);
        QCOMPARE(answer == path, !titled);
        const hostile::Page* page = folder.find(FileNameFromBytes(name));
        if (titled && page->label == hostile::Label::Title)
            QCOMPARE(answer, page->title);
    }

    // The window's listing with sub-folders (walk, then path order) and the builds over it reach
    // the bottom of folders nested far deeper than a path may be long, with a bounded number of
    // descriptors: within a low limit too.
    void anyDepth_data() {
        QTest::addColumn<bool>("comb");        // off: the deep chain; on: a folder beside every level
        QTest::addColumn<rlim_t>("fileLimit"); // 0: as the test runs
        QTest::newRow("25,000 nested folders") << false << rlim_t(0);
        QTest::newRow("25,000 nested folders, 24 descriptors") << false << rlim_t(24);
        // The walk comes back to every level for the folder beside it, reopening what it let go.
        QTest::newRow("300 levels with a folder beside each") << true << rlim_t(0);
        QTest::newRow("300 levels with a folder beside each, 12 descriptors") << true << rlim_t(12);
    }

    void anyDepth() {
        QFETCH(bool, comb);
        QFETCH(rlim_t, fileLimit);
        const QString top = tmp.path() + (comb ? u"/comb"_s : u"/deep"_s);
        QStringList expected;
        if (comb) {
            // Level i holds "side/page.htm" and "z", the next level.
            QString level = top;
            for (int i = 0; i < 300; ++i) {
                expected.append(QString(u"z/"_s).repeated(i) + u"side/page.htm"_s);
                if (!QFileInfo::exists(level + u"/side/page.htm"_s)) {
                    QVERIFY(QDir().mkpath(level + u"/side"_s));
                    QFile page(level + u"/side/page.htm"_s);
                    QVERIFY(page.open(QIODevice::WriteOnly) &&
                            page.write("<title>Side " + QByteArray::number(i) + "</title>") > 0);
                }
                level += u"/z"_s;
            }
        } else {
            if (!QFileInfo::exists(top)) {
                QVERIFY(QDir().mkpath(top));
                QString error;
                QVERIFY2(deep.build(QFile::encodeName(top), kDeepLevels, "<title>Bottom</title>", &error),
                         qPrintable(error));
            }
            expected.append(deep.pagePath());
        }
        rlimit before{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &before), 0);
        const auto restore = qScopeGuard([&] { ::setrlimit(RLIMIT_NOFILE, &before); });
        if (fileLimit) {
            const rlimit low{fileLimit, before.rlim_max};
            QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        }
        int visited = 0;
        WalkOptions walk{true, -1};
        walk.visitFolder = [&visited](int) { ++visited; };
        PageListing listing = WalkPageFiles(top, walk);
        SortPagePaths(listing.pages);
        QCOMPARE(listing.pages, expected);
        QCOMPARE(listing.skipped.size(), 0);
        QCOMPARE(visited, comb ? 600 : kDeepLevels + 1);
        if (!comb)
            QCOMPARE(BuildIndexText(top, listing.pages),
                     u"<ul>\r\n<li><a href=\""_s + deep.pagePath() + u"\">Bottom</a>\r\n</ul>"_s);
        QCOMPARE(CheckFolderText(top, {true, -1}),
                 u"Nothing found; %1 checked\n"_s.arg(comb ? u"300 pages"_s : u"1 page"_s));
    }

    // The streaming reader, the folder reader and decoding the whole page agree on every page
    // small enough to hold in memory.
    void titleReadersAgree() {
        const FolderPageReader reader(folder.path);
        for (const hostile::Page& page : folder.pages) {
            const QString name = page.fileName();
            const std::optional<QString> streamed = ReadPageTitle(PagePath(folder.path, name));
            QCOMPARE(reader.read(name).title, streamed);
            if (page.name == "sparse.htm" || page.label == hostile::Label::Any)
                continue;
            QFile file(QString::fromUtf8(folder.at(page.name)));
            if (page.name.isValidUtf8()) {
                QVERIFY(file.open(QIODevice::ReadOnly));
                QCOMPARE(FindTitle(DecodePage(file.readAll())), streamed);
            }
        }
    }
};

QTEST_GUILESS_MAIN(HostileEngineTest)
#include "tst_hostile_engine.moc"
