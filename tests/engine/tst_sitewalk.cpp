#include "capabilities.h"
#include "engine/check/sitecheck.h"
#include "engine/listing/scan.h"
#include "engine/listing/sitewalk.h"
#include "engine/order/nameorder.h"
#include "engine/reading/pagereader.h"
#include "fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class SiteWalkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void walk_data();
    void walk();
    void walkCancelled_data();
    void walkCancelled();
    void readAhead_data();
    void readAhead();
};

// A tree is made from entries relative to the walked folder: "dir/" a folder, "name@target" a
// link to target, anything else a page file; "../" reaches beside the walked folder.
void SiteWalkTest::walk_data() {
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<bool>("recursive");
    QTest::addColumn<int>("maxDepth");
    QTest::addColumn<QStringList>("locked"); // folders made unreadable (mode 000)
    QTest::addColumn<QStringList>("pages");  // in SortPagePaths order
    QTest::addColumn<QStringList>("skipped");

    const QStringList nested = {u"a.htm"_s, u"blog/2025/post.html"_s,   u"blog/x.htm"_s, u"blog/notes.txt"_s,
                                u"z.htm"_s, u"blog/2025/deeper/p.htm"_s};
    QTest::newRow("not recursive: the folder's own pages")
        << nested << false << -1 << QStringList() << QStringList{u"a.htm"_s, u"z.htm"_s} << QStringList();
    QTest::newRow("nested") << nested << true << -1 << QStringList()
                            << QStringList{u"a.htm"_s, u"blog/2025/deeper/p.htm"_s, u"blog/2025/post.html"_s,
                                           u"blog/x.htm"_s, u"z.htm"_s}
                            << QStringList();
    QTest::newRow("max depth 0") << nested << true << 0 << QStringList()
                                 << QStringList{u"a.htm"_s, u"z.htm"_s} << QStringList();
    QTest::newRow("max depth 1") << nested << true << 1 << QStringList()
                                 << QStringList{u"a.htm"_s, u"blog/x.htm"_s, u"z.htm"_s} << QStringList();
    QTest::newRow("max depth 2") << nested << true << 2 << QStringList()
                                 << QStringList{u"a.htm"_s, u"blog/2025/post.html"_s, u"blog/x.htm"_s,
                                                u"z.htm"_s}
                                 << QStringList();
    QTest::newRow("hidden at every level")
        << QStringList{u".git/a.htm"_s, u"sub/.draft.htm"_s, u"sub/.hidden/c.htm"_s, u"sub/ok.htm"_s} << true
        << -1 << QStringList() << QStringList{u"sub/ok.htm"_s} << QStringList();
    QTest::newRow("a folder named like a page is walked, not listed")
        << QStringList{u"old.htm/a.htm"_s, u"empty.html/"_s} << true << -1 << QStringList()
        << QStringList{u"old.htm/a.htm"_s} << QStringList();
    QTest::newRow("link to a folder elsewhere")
        << QStringList{u"../elsewhere/far.htm"_s, u"linked@../elsewhere"_s} << true << -1 << QStringList()
        << QStringList{u"linked/far.htm"_s} << QStringList();
    QTest::newRow("link to a folder elsewhere, too deep")
        << QStringList{u"../elsewhere/in/far.htm"_s, u"linked@../elsewhere"_s} << true << 1 << QStringList()
        << QStringList() << QStringList();
    QTest::newRow("link into the tree: the real path names the pages")
        << QStringList{u"real/a.htm"_s, u"alias@real"_s, u"real/inner/b.htm"_s, u"zz@real/inner"_s} << true
        << -1 << QStringList() << QStringList{u"real/a.htm"_s, u"real/inner/b.htm"_s} << QStringList();
    QTest::newRow("two links to one folder")
        << QStringList{u"../shared/p.htm"_s, u"b@../shared"_s, u"a@../shared"_s} << true << -1
        << QStringList() << QStringList{u"a/p.htm"_s} << QStringList();
    QTest::newRow("loop back to the top")
        << QStringList{u"a.htm"_s, u"sub/b.htm"_s, u"sub/up@.."_s, u"sub/here@."_s} << true << -1
        << QStringList() << QStringList{u"a.htm"_s, u"sub/b.htm"_s} << QStringList();
    QTest::newRow("loop between links")
        << QStringList{u"../x/p.htm"_s, u"../y/q.htm"_s, u"../x/to-y@../y"_s, u"../y/to-x@../x"_s,
                       u"x@../x"_s}
        << true << -1 << QStringList() << QStringList{u"x/p.htm"_s, u"x/to-y/q.htm"_s} << QStringList();
    QTest::newRow("links that lead nowhere")
        << QStringList{u"self@self"_s, u"gone@../none"_s, u"a.htm"_s} << true << -1 << QStringList()
        << QStringList{u"a.htm"_s} << QStringList();
    QTest::newRow("link to a page") << QStringList{u"sub/p.htm"_s, u"sub/q.htm@p.htm"_s} << true << -1
                                    << QStringList() << QStringList{u"sub/p.htm"_s, u"sub/q.htm"_s}
                                    << QStringList();
    QTest::newRow("unreadable sub-folder is skipped and named")
        << QStringList{u"a.htm"_s, u"locked/b.htm"_s, u"open/c.htm"_s, u"open/shut/d.htm"_s} << true << -1
        << QStringList{u"locked"_s, u"open/shut"_s} << QStringList{u"a.htm"_s, u"open/c.htm"_s}
        << QStringList{u"locked"_s, u"open/shut"_s};
    QTest::newRow("unreadable sub-folder below the depth is not tried")
        << QStringList{u"a.htm"_s, u"locked/b.htm"_s} << true << 0 << QStringList{u"locked"_s}
        << QStringList{u"a.htm"_s} << QStringList();
    QTest::newRow("unreadable folder behind a link")
        << QStringList{u"../shut/b.htm"_s, u"door@../shut"_s} << true << -1 << QStringList{u"../shut"_s}
        << QStringList() << QStringList{u"door"_s};
}

void SiteWalkTest::walk() {
    QFETCH(QStringList, tree);
    QFETCH(bool, recursive);
    QFETCH(int, maxDepth);
    QFETCH(QStringList, locked);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, skipped);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString top = temp.path() + u"/top"_s;
    QDir dir(top);
    QVERIFY(dir.mkpath(u"."_s));
    for (const QString& entry : tree) {
        const qsizetype at = entry.indexOf(u'@');
        const QString path = top + u'/' + (at < 0 ? entry : entry.left(at));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (at >= 0)
            QCOMPARE(::symlink(QFile::encodeName(entry.mid(at + 1)).constData(),
                               QFile::encodeName(path).constData()),
                     0);
        else if (entry.endsWith(u'/'))
            QVERIFY(QDir().mkpath(path));
        else
            WriteFixture(QFileInfo(path).path(), QFileInfo(path).fileName(), "<title>t</title>");
    }
    for (const QString& folder : locked)
        QVERIFY(QFile::setPermissions(top + u'/' + folder, {}));
    const auto unlock = qScopeGuard([&] {
        for (const QString& folder : locked)
            QFile::setPermissions(top + u'/' + folder,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });

    PageListing listing;
    QString report;
    {
        testcaps::FileModesHold modes;
        if (!locked.isEmpty()) {
            if (!modes.isValid() || testcaps::CanOpen(QFile::encodeName(top + u'/' + locked.first())))
                QSKIP("file modes do not stop this user from reading a folder");
        }
        WalkOptions options(recursive, maxDepth);
        options.listFolders = true;
        listing = WalkPageFiles(top, options);
        report = CheckFolderText(top, {recursive, maxDepth});
    }
    // The window's check walks the same pages and names the same skipped folders.
    QVERIFY2(
        report.endsWith(u"; %1 page%2 checked\n"_s.arg(pages.size()).arg(pages.size() == 1 ? u""_s : u"s"_s)),
        qPrintable(report));
    for (const QString& folder : skipped)
        QVERIFY2(report.contains(folder + u"/: folder cannot be read"_s), qPrintable(report));
    SortPagePaths(listing.pages);
    QCOMPARE(listing.pages, pages);
    QStringList skippedNames;
    for (const SkippedFolder& folder : std::as_const(listing.skipped)) {
        skippedNames.append(folder.name);
        QCOMPARE(folder.reason, QString::fromLocal8Bit(std::strerror(EACCES)));
    }
    QCOMPARE(skippedNames, skipped);
    QVERIFY(listing.folders.contains(QString()));
    if (!recursive)
        QCOMPARE(Sorted(listing.pages), Sorted(ScanPageFiles(top)));
}

// A walk whose flag is set stops before the next folder, holding no folder open; the folder's own
// pages without sub-folders are the plain scan, which the flag does not stop.
void SiteWalkTest::walkCancelled_data() {
    QTest::addColumn<bool>("recursive");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QStringList>("pages");
    const QStringList all{u"a.htm"_s, u"blog/2025/post.htm"_s, u"blog/x.htm"_s, u"linked/far.htm"_s};
    QTest::newRow("not cancelled") << true << false << all;
    QTest::newRow("cancelled") << true << true << QStringList();
    QTest::newRow("not recursive, cancelled") << false << true << QStringList{u"a.htm"_s};
}

void SiteWalkTest::walkCancelled() {
    QFETCH(bool, recursive);
    QFETCH(bool, cancelled);
    QFETCH(QStringList, pages);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString top = temp.path() + u"/top"_s;
    QVERIFY(QDir().mkpath(top + u"/blog/2025"_s));
    QVERIFY(QDir().mkpath(temp.path() + u"/elsewhere"_s));
    WriteFixture(top, u"a.htm"_s, "<title>t</title>");
    WriteFixture(top + u"/blog"_s, u"x.htm"_s, "<title>t</title>");
    WriteFixture(top + u"/blog/2025"_s, u"post.htm"_s, "<title>t</title>");
    WriteFixture(temp.path() + u"/elsewhere"_s, u"far.htm"_s, "<title>t</title>");
    QVERIFY(QFile::link(temp.path() + u"/elsewhere"_s, top + u"/linked"_s));

    const auto openDescriptors = [] { return QDir(u"/proc/self/fd"_s).count(); };
    const qsizetype before = openDescriptors();
    const std::atomic<bool> cancel(cancelled);
    WalkOptions options{recursive, -1};
    options.cancel = &cancel;
    PageListing listing = WalkPageFiles(top, options);
    SortPagePaths(listing.pages);
    QCOMPARE(listing.pages, pages);
    QCOMPARE(openDescriptors(), before);
}

// Pages read while the walk lists them give the records reading them afterwards gives, each page
// under its own name, whatever the order the reading takes; read ahead with other wants than the
// reading's, they are not used.
void SiteWalkTest::readAhead_data() {
    QTest::addColumn<bool>("recursive");
    QTest::addColumn<PageWants>("aheadWants");
    QTest::addColumn<PageWants>("wants");
    const PageWants feed = WantDate | WantDescription;
    QTest::newRow("one folder") << false << PageWants(WantTitle) << PageWants(WantTitle);
    QTest::newRow("sub-folders, dates and descriptions") << true << feed << feed;
    QTest::newRow("read ahead with other wants") << true << PageWants(WantTitle) << feed;
}

void SiteWalkTest::readAhead() {
    QFETCH(bool, recursive);
    QFETCH(PageWants, aheadWants);
    QFETCH(PageWants, wants);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    // Enough pages for reading ahead to start, in folders of a few dozen.
    for (int i = 0; i < 400; ++i) {
        const QString folder = temp.path() + u"/d"_s + QString::number(i % 5);
        QVERIFY(QDir().mkpath(folder));
        const QByteArray n = QByteArray::number(i);
        WriteFixture(i % 5 ? folder : temp.path(), u"p"_s + QString::number(i) + u".htm"_s,
                     "<meta name=description content=\"About " + n + "\"><meta name=date content=2020-01-" +
                         QByteArray::number(1 + i % 28) + "><title>Page " + n + "</title>");
    }
    PageReadAhead ahead(temp.path(), aheadWants);
    WalkOptions options{recursive};
    options.pageFound = [&ahead](const QString& page) { ahead.offer(page); };
    QStringList names = WalkPageFiles(temp.path(), options).pages;
    QThread::msleep(200); // time to read ahead
    SortPagePaths(names);
    QList<PageRecord> withAhead;
    ForEachPage(
        temp.path(), names, wants, [&](PageRecord&& record) { withAhead.append(std::move(record)); }, &ahead);
    const QList<PageRecord> without = ReadPages(temp.path(), names, wants);
    QCOMPARE(withAhead.size(), without.size());
    QCOMPARE(withAhead.size(), recursive ? 400 : 80);
    for (qsizetype i = 0; i < without.size(); ++i) {
        QCOMPARE(withAhead[i].name, without[i].name);
        QCOMPARE(withAhead[i].title, without[i].title);
        QCOMPARE(withAhead[i].date, without[i].date);
        QCOMPARE(withAhead[i].description, without[i].description);
    }
    // Each record is handed out once; one read with other wants is left.
    QCOMPARE(ahead.take(names.first()).has_value(), aheadWants != wants);
}

QTEST_GUILESS_MAIN(SiteWalkTest)
#include "tst_sitewalk.moc"
