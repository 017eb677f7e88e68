#include "../capabilities.h"
#include "engine/check/sitecheck.h"
#include "engine/files/filename.h"
#include "engine/files/paths.h"
#include "engine/listing/scan.h"
#include "engine/listing/sitewalk.h"
#include "engine/order/nameorder.h"
#include "engine/order/order.h"
#include "engine/reading/title.h"
#include "fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class ScanTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matching_data();
    void matching();
    void onlyRegularFiles();
    void unlistableFolder_data();
    void unlistableFolder();
    void bytesOfNamesSurvive();
    void order_data();
    void order();
    void walk_data();
    void walk();
    void walkCancelled_data();
    void walkCancelled();
    void selection_data();
    void selection();
};

static QStringList Sorted(QStringList names) {
    names.sort();
    return names;
}

void ScanTest::matching_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("extensions in any case")
        << QStringList{u"index.html"_s, u"News.HTM"_s, u"old.htm.bak"_s, u"Mixed.Html"_s, u"x.hTm"_s}
        << QStringList{u"index.html"_s, u"News.HTM"_s, u"old.htm.bak"_s, u"Mixed.Html"_s, u"x.hTm"_s};
    QTest::newRow("other names") << QStringList{u"page.shtml"_s, u"notes.txt"_s, u"htm"_s, u"xhtm.txt"_s}
                                 << QStringList{};
    QTest::newRow("dot-files are hidden")
        << QStringList{u".hidden.htm"_s, u".htm"_s, u"shown.htm"_s} << QStringList{u"shown.htm"_s};
    QTest::newRow("pattern inside the name") << QStringList{u"a.htm.b.htm"_s, u"v1.HTMLX"_s, u"a b.htm"_s}
                                             << QStringList{u"a.htm.b.htm"_s, u"v1.HTMLX"_s, u"a b.htm"_s};
}

void ScanTest::matching() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& name : files)
        WriteFixture(dir.path(), name, "<title>t</title>");
    QCOMPARE(Sorted(ScanPageFiles(dir.path())), Sorted(listed));
    // A final separator makes no difference.
    QCOMPARE(Sorted(ScanPageFiles(dir.path() + u'/')), Sorted(listed));
}

void ScanTest::onlyRegularFiles() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString d = dir.path();
    WriteFixture(d, u"page.htm"_s, "x");
    QVERIFY(QDir(d).mkdir(u"folder.html"_s));
    QCOMPARE(::mkfifo(QFile::encodeName(d + u"/pipe.htm"_s).constData(), 0600), 0);
    QVERIFY(QFile::link(d + u"/page.htm"_s, d + u"/to-page.htm"_s));
    QVERIFY(QFile::link(d + u"/gone.txt"_s, d + u"/broken.htm"_s));
    QVERIFY(QFile::link(d + u"/folder.html"_s, d + u"/to-folder.htm"_s));
    QCOMPARE(Sorted(ScanPageFiles(d)), (QStringList{u"page.htm"_s, u"to-page.htm"_s}));
}

void ScanTest::unlistableFolder_data() {
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing") << u"no-such-folder"_s;
    QTest::newRow("under a regular file") << u"file.htm/sub"_s;
    QTest::newRow("a regular file") << u"file.htm"_s;
}

void ScanTest::unlistableFolder() {
    QFETCH(QString, relative);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WriteFixture(dir.path(), u"file.htm"_s, "x");
    QCOMPARE(ScanPageFiles(dir.path() + u'/' + relative), QStringList());
}

void ScanTest::bytesOfNamesSurvive() {
    // A folder and a page whose names are Latin-1 bytes, not UTF-8: the listed name must lead
    // back to the very file.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path()) + "/d\xE9j\xE0";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    const QByteArray file = folder + "/caf\xE9.htm";
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    QVERIFY(fd >= 0);
    const char page[] = "<title>Caf\xC3\xA9</title>";
    QCOMPARE(::write(fd, page, sizeof page - 1), ssize_t(sizeof page - 1));
    ::close(fd);

    const QString folderText = FileNameFromBytes(folder);
    const QStringList names = ScanPageFiles(folderText);
    QCOMPARE(names.size(), 1);
    QCOMPARE(FileNameToBytes(names.first()), QByteArray("caf\xE9.htm"));
    QCOMPARE(ExtractTitle(PagePath(folderText, names.first())), u"Café"_s);

    // Through the walk, both names keep their bytes in the relative path.
    const QStringList paths = WalkPageFiles(dir.path(), {true, -1}).pages;
    QCOMPARE(paths.size(), 1);
    QCOMPARE(FileNameToBytes(paths.first()), QByteArray("d\xE9j\xE0/caf\xE9.htm"));
    QCOMPARE(ExtractTitle(PagePath(dir.path(), paths.first())), u"Café"_s);
}

void ScanTest::order_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");
    // The natural order (runs of digits read as numbers); empty where it is the same as sorted.
    QTest::addColumn<QStringList>("natural");
    QTest::newRow("letter case ignored") << QStringList{u"d.htm"_s, u"C.htm"_s, u"b.htm"_s}
                                         << QStringList{u"b.htm"_s, u"C.htm"_s, u"d.htm"_s} << QStringList();
    QTest::newRow("case twins, one way")
        << QStringList{u"a.htm"_s, u"A.htm"_s} << QStringList{u"A.htm"_s, u"a.htm"_s} << QStringList();
    QTest::newRow("case twins, other way")
        << QStringList{u"A.htm"_s, u"a.htm"_s} << QStringList{u"A.htm"_s, u"a.htm"_s} << QStringList();
    QTest::newRow("twins among others")
        << QStringList{u"b.htm"_s, u"B.htm"_s, u"a.HTM"_s, u"A.htm"_s, u"a.htm"_s}
        << QStringList{u"A.htm"_s, u"a.HTM"_s, u"a.htm"_s, u"B.htm"_s, u"b.htm"_s} << QStringList();
    QTest::newRow("prefix first") << QStringList{u"page10.htm"_s, u"page1.htm"_s, u"Page.htm"_s}
                                  << QStringList{u"Page.htm"_s, u"page1.htm"_s, u"page10.htm"_s}
                                  // Natural: a name's number comes before any longer text that
                                  // follows the same letters.
                                  << QStringList{u"page1.htm"_s, u"page10.htm"_s, u"Page.htm"_s};
    QTest::newRow("accented letters with their letters")
        << QStringList{u"zebra.htm"_s, u"éclair.htm"_s, u"Éclair.htm"_s, u"eclair.htm"_s, u"Ecrin.htm"_s}
        << QStringList{u"eclair.htm"_s, u"Éclair.htm"_s, u"éclair.htm"_s, u"Ecrin.htm"_s, u"zebra.htm"_s}
        << QStringList();
    QTest::newRow("numbers stay alphabetical")
        << QStringList{u"page2.htm"_s, u"page10.htm"_s, u"page1.htm"_s}
        << QStringList{u"page1.htm"_s, u"page10.htm"_s, u"page2.htm"_s}
        << QStringList{u"page1.htm"_s, u"page2.htm"_s, u"page10.htm"_s};
    QTest::newRow("ASCII punctuation and digits")
        << QStringList{u"b-c.htm"_s, u"b_c.htm"_s, u"b.c.htm"_s, u"b c.htm"_s,
                       u"b1.htm"_s,  u"B~.htm"_s,  u"b!.htm"_s,  u"bc.htm"_s}
        << QStringList{u"b c.htm"_s, u"b_c.htm"_s, u"b-c.htm"_s, u"b!.htm"_s,
                       u"b.c.htm"_s, u"B~.htm"_s,  u"b1.htm"_s,  u"bc.htm"_s}

        << QStringList{u"b1.htm"_s, u"b c.htm"_s, u"b_c.htm"_s, u"b-c.htm"_s,
                       u"b!.htm"_s, u"b.c.htm"_s, u"B~.htm"_s,  u"bc.htm"_s};
    QTest::newRow("other scripts and letters")
        << QStringList{u"Ñu.htm"_s, u"ob.htm"_s, u"Straße.htm"_s, u"strasse.htm"_s, u"ńa.htm"_s}
        << QStringList{u"ńa.htm"_s, u"Ñu.htm"_s, u"ob.htm"_s, u"strasse.htm"_s, u"Straße.htm"_s}
        << QStringList();
    // Relative paths go part by part: a folder's pages stay together, and the folder stands where
    // its name falls among the names beside it.
    QTest::newRow("folder among pages")
        << QStringList{u"c.htm"_s, u"blog/b.htm"_s, u"a.htm"_s, u"blog/a.htm"_s, u"blog.htm"_s}
        << QStringList{u"a.htm"_s, u"blog/a.htm"_s, u"blog/b.htm"_s, u"blog.htm"_s, u"c.htm"_s}
        << QStringList();
    QTest::newRow("folders equal but for case stay apart")
        << QStringList{u"a/z.htm"_s, u"A/y.htm"_s, u"a/b.htm"_s, u"A/c.htm"_s}
        << QStringList{u"A/c.htm"_s, u"A/y.htm"_s, u"a/b.htm"_s, u"a/z.htm"_s} << QStringList();
    QTest::newRow("deeper first where the folder sorts first")
        << QStringList{u"x/2025/b.htm"_s, u"x/a.htm"_s, u"x/2024/c.htm"_s, u"x/2025/a.htm"_s}
        << QStringList{u"x/2024/c.htm"_s, u"x/2025/a.htm"_s, u"x/2025/b.htm"_s, u"x/a.htm"_s}
        << QStringList();
    QTest::newRow("a folder's name is compared whole")
        << QStringList{u"ab/x.htm"_s, u"a/y.htm"_s, u"a b/z.htm"_s}
        << QStringList{u"a/y.htm"_s, u"a b/z.htm"_s, u"ab/x.htm"_s} << QStringList();
    // Sub-folders in the natural order: each level by its numbers, a folder's pages together.
    QTest::newRow("numbered folders") << QStringList{u"p10/a.htm"_s, u"p2.htm"_s,     u"p2/b.htm"_s,
                                                     u"p1/x.htm"_s,  u"p2/a10.htm"_s, u"p2/a9.htm"_s}
                                      << QStringList{u"p1/x.htm"_s,  u"p10/a.htm"_s, u"p2/a10.htm"_s,
                                                     u"p2/a9.htm"_s, u"p2/b.htm"_s,  u"p2.htm"_s}
                                      << QStringList{u"p1/x.htm"_s, u"p2/a9.htm"_s, u"p2/a10.htm"_s,
                                                     u"p2/b.htm"_s, u"p2.htm"_s,    u"p10/a.htm"_s};
    QTest::newRow("numbers equal but for zeros, by name")
        << QStringList{u"v02/a.htm"_s, u"v2/a.htm"_s, u"V2/a.htm"_s, u"v3.htm"_s}
        << QStringList{u"v02/a.htm"_s, u"V2/a.htm"_s, u"v2/a.htm"_s, u"v3.htm"_s}
        << QStringList{u"v02/a.htm"_s, u"V2/a.htm"_s, u"v2/a.htm"_s, u"v3.htm"_s};
}

void ScanTest::order() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    QFETCH(QStringList, natural);
    if (natural.isEmpty())
        natural = sorted;
    // Run in the C locale, where the order is the language-neutral one, and in a language of its own.
    const QLocale saved;
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::French, QLocale::France)}) {
        QLocale::setDefault(locale);
        QStringList paths = names;
        SortPagePaths(paths);
        QCOMPARE(paths, sorted);
        QVERIFY(std::is_sorted(paths.cbegin(), paths.cend(),
                               [](const QString& a, const QString& b) { return PagePathLess(a, b); }));
        if (std::none_of(names.cbegin(), names.cend(), [](const QString& n) { return n.contains(u'/'); })) {
            QStringList list = names;
            SortPageNames(list);
            QCOMPARE(list, sorted);
            for (qsizetype i = 1; i < list.size(); ++i)
                QVERIFY(PageNameLess(list[i - 1], list[i]));
        }
        // Every way the engine puts names in an order gives the same one: a list sorted whole, pairs
        // compared, a selection's names and read pages.
        for (const bool numeric : {false, true}) {
            const PageNameOrder nameOrder(numeric);
            const QStringList& expected = numeric ? natural : sorted;
            QStringList list = names;
            nameOrder.sortPaths(list);
            QCOMPARE(list, expected);
            for (qsizetype i = 1; i < list.size(); ++i) {
                QVERIFY(nameOrder.pathLess(list[i - 1], list[i]));
                QVERIFY(!nameOrder.pathLess(list[i], list[i - 1]));
            }
            const PageOrder pageOrder = numeric ? PageOrder::Natural : PageOrder::Name;
            QCOMPARE(SelectPageNames(names, PageSelection{pageOrder, {}, 0}), expected);
            QList<PageRecord> records;
            for (const QString& name : std::as_const(names)) {
                records.append(PageRecord());
                records.last().name = name;
            }
            OrderPages(records, pageOrder);
            QStringList ordered;
            for (const PageRecord& record : std::as_const(records))
                ordered << record.name;
            QCOMPARE(ordered, expected);
        }
    }
    QLocale::setDefault(saved);
}

// A tree is made from entries relative to the walked folder: "dir/" a folder, "name@target" a
// link to target, anything else a page file; "../" reaches beside the walked folder.
void ScanTest::walk_data() {
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

void ScanTest::walk() {
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
void ScanTest::walkCancelled_data() {
    QTest::addColumn<bool>("recursive");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QStringList>("pages");
    const QStringList all{u"a.htm"_s, u"blog/2025/post.htm"_s, u"blog/x.htm"_s, u"linked/far.htm"_s};
    QTest::newRow("not cancelled") << true << false << all;
    QTest::newRow("cancelled") << true << true << QStringList();
    QTest::newRow("not recursive, cancelled") << false << true << QStringList{u"a.htm"_s};
}

void ScanTest::walkCancelled() {
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

// What an output takes from a folder: the pages left after the excludes, in the chosen order, cut
// to the limit. Files are made with the given modification times (minutes after a fixed instant).
void ScanTest::selection_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<int>>("minutes");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("excludes");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("selected");
    const int name = int(PageOrder::Name), natural = int(PageOrder::Natural), date = int(PageOrder::Date);
    const QStringList pages{u"page10.htm"_s, u"Page2.htm"_s, u"page1.htm"_s, u"about.htm"_s};
    const QList<int> times{30, 10, 20, 10};
    QTest::newRow("name") << pages << times << name << QStringList() << 0
                          << QStringList{u"about.htm"_s, u"page1.htm"_s, u"page10.htm"_s, u"Page2.htm"_s};
    QTest::newRow("natural") << pages << times << natural << QStringList() << 0
                             << QStringList{u"about.htm"_s, u"page1.htm"_s, u"Page2.htm"_s, u"page10.htm"_s};
    QTest::newRow("natural, equal numbers by name")
        << QStringList{u"a2.htm"_s, u"a02.htm"_s, u"A2.htm"_s} << QList<int>{0, 0, 0} << natural
        << QStringList() << 0 << QStringList{u"a02.htm"_s, u"A2.htm"_s, u"a2.htm"_s};
    QTest::newRow("date, newest first, equal dates by name")
        << pages << times << date << QStringList() << 0
        << QStringList{u"page10.htm"_s, u"page1.htm"_s, u"about.htm"_s, u"Page2.htm"_s};
    QTest::newRow("limit after the order")
        << pages << times << date << QStringList() << 2 << QStringList{u"page10.htm"_s, u"page1.htm"_s};
    QTest::newRow("limit, name order")
        << pages << times << name << QStringList() << 1 << QStringList{u"about.htm"_s};
    QTest::newRow("limit above the count")
        << pages << times << natural << QStringList() << 99
        << QStringList{u"about.htm"_s, u"page1.htm"_s, u"Page2.htm"_s, u"page10.htm"_s};
    QTest::newRow("exclude star, any letter case")
        << pages << times << name << QStringList{u"PAGE*"_s} << 0 << QStringList{u"about.htm"_s};
    QTest::newRow("exclude question mark and set")
        << pages << times << name << QStringList{u"page?.htm"_s, u"[a-c]*"_s} << 0
        << QStringList{u"page10.htm"_s};
    QTest::newRow("exclude before the limit")
        << pages << times << date << QStringList{u"page10.htm"_s} << 1 << QStringList{u"page1.htm"_s};
    QTest::newRow("exclude, whole name only")
        << pages << times << name << QStringList{u"page"_s, u"*.html"_s} << 0
        << QStringList{u"about.htm"_s, u"page1.htm"_s, u"page10.htm"_s, u"Page2.htm"_s};
    QTest::newRow("exclude, negated set") << pages << times << name << QStringList{u"[!p]*"_s} << 0
                                          << QStringList{u"page1.htm"_s, u"page10.htm"_s, u"Page2.htm"_s};
    QTest::newRow("everything excluded")
        << pages << times << date << QStringList{u"*"_s} << 0 << QStringList();
}

void ScanTest::selection() {
    QFETCH(QStringList, files);
    QFETCH(QList<int>, minutes);
    QFETCH(int, order);
    QFETCH(QStringList, excludes);
    QFETCH(int, limit);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDateTime start(QDate(2024, 5, 3), QTime(7, 8, 9), QTimeZone::utc());
    for (qsizetype i = 0; i < files.size(); ++i) {
        QFile file(WriteFixture(dir.path(), files[i], "<title>t</title>"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(start.addSecs(minutes[i] * 60), QFileDevice::FileModificationTime));
    }
    for (const QString& pattern : std::as_const(excludes))
        QVERIFY(IsValidExcludePattern(pattern));
    const QList<PageRecord> pages =
        SelectPages(dir.path(), ScanPageFiles(dir.path()), PageSelection{PageOrder(order), excludes, limit});
    QStringList names;
    for (const PageRecord& page : pages)
        names << page.name;
    QTEST(names, "selected");
}

QTEST_GUILESS_MAIN(ScanTest)
#include "tst_scan.moc"
