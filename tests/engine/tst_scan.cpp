#include "../capabilities.h"
#include "engine/filename.h"
#include "engine/order.h"
#include "engine/paths.h"
#include "engine/scan.h"
#include "engine/sitecheck.h"
#include "engine/sitewalk.h"
#include "engine/title.h"
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
        << QStringList{u"index.html"_qs, u"News.HTM"_qs, u"old.htm.bak"_qs, u"Mixed.Html"_qs, u"x.hTm"_qs}
        << QStringList{u"index.html"_qs, u"News.HTM"_qs, u"old.htm.bak"_qs, u"Mixed.Html"_qs, u"x.hTm"_qs};
    QTest::newRow("other names") << QStringList{u"page.shtml"_qs, u"notes.txt"_qs, u"htm"_qs, u"xhtm.txt"_qs}
                                 << QStringList{};
    QTest::newRow("dot-files are hidden")
        << QStringList{u".hidden.htm"_qs, u".htm"_qs, u"shown.htm"_qs} << QStringList{u"shown.htm"_qs};
    QTest::newRow("pattern inside the name") << QStringList{u"a.htm.b.htm"_qs, u"v1.HTMLX"_qs, u"a b.htm"_qs}
                                             << QStringList{u"a.htm.b.htm"_qs, u"v1.HTMLX"_qs, u"a b.htm"_qs};
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
    WriteFixture(d, u"page.htm"_qs, "x");
    QVERIFY(QDir(d).mkdir(u"folder.html"_qs));
    QCOMPARE(::mkfifo(QFile::encodeName(d + u"/pipe.htm"_qs).constData(), 0600), 0);
    QVERIFY(QFile::link(d + u"/page.htm"_qs, d + u"/to-page.htm"_qs));
    QVERIFY(QFile::link(d + u"/gone.txt"_qs, d + u"/broken.htm"_qs));
    QVERIFY(QFile::link(d + u"/folder.html"_qs, d + u"/to-folder.htm"_qs));
    QCOMPARE(Sorted(ScanPageFiles(d)), (QStringList{u"page.htm"_qs, u"to-page.htm"_qs}));
}

void ScanTest::unlistableFolder_data() {
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing") << u"no-such-folder"_qs;
    QTest::newRow("under a regular file") << u"file.htm/sub"_qs;
    QTest::newRow("a regular file") << u"file.htm"_qs;
}

void ScanTest::unlistableFolder() {
    QFETCH(QString, relative);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WriteFixture(dir.path(), u"file.htm"_qs, "x");
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
    QCOMPARE(ExtractTitle(PagePath(folderText, names.first())), u"Café"_qs);

    // Through the walk, both names keep their bytes in the relative path.
    const QStringList paths = WalkPageFiles(dir.path(), {true, -1}).pages;
    QCOMPARE(paths.size(), 1);
    QCOMPARE(FileNameToBytes(paths.first()), QByteArray("d\xE9j\xE0/caf\xE9.htm"));
    QCOMPARE(ExtractTitle(PagePath(dir.path(), paths.first())), u"Café"_qs);
}

void ScanTest::order_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("letter case ignored") << QStringList{u"d.htm"_qs, u"C.htm"_qs, u"b.htm"_qs}
                                         << QStringList{u"b.htm"_qs, u"C.htm"_qs, u"d.htm"_qs};
    QTest::newRow("case twins, one way")
        << QStringList{u"a.htm"_qs, u"A.htm"_qs} << QStringList{u"A.htm"_qs, u"a.htm"_qs};
    QTest::newRow("case twins, other way")
        << QStringList{u"A.htm"_qs, u"a.htm"_qs} << QStringList{u"A.htm"_qs, u"a.htm"_qs};
    QTest::newRow("twins among others")
        << QStringList{u"b.htm"_qs, u"B.htm"_qs, u"a.HTM"_qs, u"A.htm"_qs, u"a.htm"_qs}
        << QStringList{u"A.htm"_qs, u"a.HTM"_qs, u"a.htm"_qs, u"B.htm"_qs, u"b.htm"_qs};
    QTest::newRow("prefix first") << QStringList{u"page10.htm"_qs, u"page1.htm"_qs, u"Page.htm"_qs}
                                  << QStringList{u"Page.htm"_qs, u"page1.htm"_qs, u"page10.htm"_qs};
    QTest::newRow("accented letters with their letters")
        << QStringList{u"zebra.htm"_qs, u"éclair.htm"_qs, u"Éclair.htm"_qs, u"eclair.htm"_qs, u"Ecrin.htm"_qs}
        << QStringList{u"eclair.htm"_qs, u"Éclair.htm"_qs, u"éclair.htm"_qs, u"Ecrin.htm"_qs,
                       u"zebra.htm"_qs};
    QTest::newRow("numbers stay alphabetical")
        << QStringList{u"page2.htm"_qs, u"page10.htm"_qs, u"page1.htm"_qs}
        << QStringList{u"page1.htm"_qs, u"page10.htm"_qs, u"page2.htm"_qs};
    QTest::newRow("ASCII punctuation and digits")
        << QStringList{u"b-c.htm"_qs, u"b_c.htm"_qs, u"b.c.htm"_qs, u"b c.htm"_qs,
                       u"b1.htm"_qs,  u"B~.htm"_qs,  u"b!.htm"_qs,  u"bc.htm"_qs}
        << QStringList{u"b c.htm"_qs, u"b_c.htm"_qs, u"b-c.htm"_qs, u"b!.htm"_qs,
                       u"b.c.htm"_qs, u"B~.htm"_qs,  u"b1.htm"_qs,  u"bc.htm"_qs};
    QTest::newRow("other scripts and letters")
        << QStringList{u"Ñu.htm"_qs, u"ob.htm"_qs, u"Straße.htm"_qs, u"strasse.htm"_qs, u"ńa.htm"_qs}
        << QStringList{u"ńa.htm"_qs, u"Ñu.htm"_qs, u"ob.htm"_qs, u"strasse.htm"_qs, u"Straße.htm"_qs};
    // Relative paths go part by part: a folder's pages stay together, and the folder stands where
    // its name falls among the names beside it.
    QTest::newRow("folder among pages")
        << QStringList{u"c.htm"_qs, u"blog/b.htm"_qs, u"a.htm"_qs, u"blog/a.htm"_qs, u"blog.htm"_qs}
        << QStringList{u"a.htm"_qs, u"blog/a.htm"_qs, u"blog/b.htm"_qs, u"blog.htm"_qs, u"c.htm"_qs};
    QTest::newRow("folders equal but for case stay apart")
        << QStringList{u"a/z.htm"_qs, u"A/y.htm"_qs, u"a/b.htm"_qs, u"A/c.htm"_qs}
        << QStringList{u"A/c.htm"_qs, u"A/y.htm"_qs, u"a/b.htm"_qs, u"a/z.htm"_qs};
    QTest::newRow("deeper first where the folder sorts first")
        << QStringList{u"x/2025/b.htm"_qs, u"x/a.htm"_qs, u"x/2024/c.htm"_qs, u"x/2025/a.htm"_qs}
        << QStringList{u"x/2024/c.htm"_qs, u"x/2025/a.htm"_qs, u"x/2025/b.htm"_qs, u"x/a.htm"_qs};
    QTest::newRow("a folder's name is compared whole")
        << QStringList{u"ab/x.htm"_qs, u"a/y.htm"_qs, u"a b/z.htm"_qs}
        << QStringList{u"a/y.htm"_qs, u"a b/z.htm"_qs, u"ab/x.htm"_qs};
}

void ScanTest::order() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
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

    const QStringList nested = {u"a.htm"_qs,      u"blog/2025/post.html"_qs,
                                u"blog/x.htm"_qs, u"blog/notes.txt"_qs,
                                u"z.htm"_qs,      u"blog/2025/deeper/p.htm"_qs};
    QTest::newRow("not recursive: the folder's own pages")
        << nested << false << -1 << QStringList() << QStringList{u"a.htm"_qs, u"z.htm"_qs} << QStringList();
    QTest::newRow("nested") << nested << true << -1 << QStringList()
                            << QStringList{u"a.htm"_qs, u"blog/2025/deeper/p.htm"_qs,
                                           u"blog/2025/post.html"_qs, u"blog/x.htm"_qs, u"z.htm"_qs}
                            << QStringList();
    QTest::newRow("max depth 0") << nested << true << 0 << QStringList()
                                 << QStringList{u"a.htm"_qs, u"z.htm"_qs} << QStringList();
    QTest::newRow("max depth 1") << nested << true << 1 << QStringList()
                                 << QStringList{u"a.htm"_qs, u"blog/x.htm"_qs, u"z.htm"_qs} << QStringList();
    QTest::newRow("max depth 2") << nested << true << 2 << QStringList()
                                 << QStringList{u"a.htm"_qs, u"blog/2025/post.html"_qs, u"blog/x.htm"_qs,
                                                u"z.htm"_qs}
                                 << QStringList();
    QTest::newRow("hidden at every level")
        << QStringList{u".git/a.htm"_qs, u"sub/.draft.htm"_qs, u"sub/.hidden/c.htm"_qs, u"sub/ok.htm"_qs}
        << true << -1 << QStringList() << QStringList{u"sub/ok.htm"_qs} << QStringList();
    QTest::newRow("a folder named like a page is walked, not listed")
        << QStringList{u"old.htm/a.htm"_qs, u"empty.html/"_qs} << true << -1 << QStringList()
        << QStringList{u"old.htm/a.htm"_qs} << QStringList();
    QTest::newRow("link to a folder elsewhere")
        << QStringList{u"../elsewhere/far.htm"_qs, u"linked@../elsewhere"_qs} << true << -1 << QStringList()
        << QStringList{u"linked/far.htm"_qs} << QStringList();
    QTest::newRow("link to a folder elsewhere, too deep")
        << QStringList{u"../elsewhere/in/far.htm"_qs, u"linked@../elsewhere"_qs} << true << 1 << QStringList()
        << QStringList() << QStringList();
    QTest::newRow("link into the tree: the real path names the pages")
        << QStringList{u"real/a.htm"_qs, u"alias@real"_qs, u"real/inner/b.htm"_qs, u"zz@real/inner"_qs}
        << true << -1 << QStringList() << QStringList{u"real/a.htm"_qs, u"real/inner/b.htm"_qs}
        << QStringList();
    QTest::newRow("two links to one folder")
        << QStringList{u"../shared/p.htm"_qs, u"b@../shared"_qs, u"a@../shared"_qs} << true << -1
        << QStringList() << QStringList{u"a/p.htm"_qs} << QStringList();
    QTest::newRow("loop back to the top")
        << QStringList{u"a.htm"_qs, u"sub/b.htm"_qs, u"sub/up@.."_qs, u"sub/here@."_qs} << true << -1
        << QStringList() << QStringList{u"a.htm"_qs, u"sub/b.htm"_qs} << QStringList();
    QTest::newRow("loop between links")
        << QStringList{u"../x/p.htm"_qs, u"../y/q.htm"_qs, u"../x/to-y@../y"_qs, u"../y/to-x@../x"_qs,
                       u"x@../x"_qs}
        << true << -1 << QStringList() << QStringList{u"x/p.htm"_qs, u"x/to-y/q.htm"_qs} << QStringList();
    QTest::newRow("links that lead nowhere")
        << QStringList{u"self@self"_qs, u"gone@../none"_qs, u"a.htm"_qs} << true << -1 << QStringList()
        << QStringList{u"a.htm"_qs} << QStringList();
    QTest::newRow("link to a page") << QStringList{u"sub/p.htm"_qs, u"sub/q.htm@p.htm"_qs} << true << -1
                                    << QStringList() << QStringList{u"sub/p.htm"_qs, u"sub/q.htm"_qs}
                                    << QStringList();
    QTest::newRow("unreadable sub-folder is skipped and named")
        << QStringList{u"a.htm"_qs, u"locked/b.htm"_qs, u"open/c.htm"_qs, u"open/shut/d.htm"_qs} << true << -1
        << QStringList{u"locked"_qs, u"open/shut"_qs} << QStringList{u"a.htm"_qs, u"open/c.htm"_qs}
        << QStringList{u"locked"_qs, u"open/shut"_qs};
    QTest::newRow("unreadable sub-folder below the depth is not tried")
        << QStringList{u"a.htm"_qs, u"locked/b.htm"_qs} << true << 0 << QStringList{u"locked"_qs}
        << QStringList{u"a.htm"_qs} << QStringList();
    QTest::newRow("unreadable folder behind a link")
        << QStringList{u"../shut/b.htm"_qs, u"door@../shut"_qs} << true << -1 << QStringList{u"../shut"_qs}
        << QStringList() << QStringList{u"door"_qs};
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
    const QString top = temp.path() + u"/top"_qs;
    QDir dir(top);
    QVERIFY(dir.mkpath(u"."_qs));
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
        listing = WalkPageFiles(top, {recursive, maxDepth});
        report = CheckFolderText(top, {recursive, maxDepth});
    }
    // The window's check walks the same pages and names the same skipped folders.
    QVERIFY2(report.endsWith(u"; %1 page%2 checked\n"_qs.arg(pages.size()).arg(pages.size() == 1 ? "" : "s")),
             qPrintable(report));
    for (const QString& folder : skipped)
        QVERIFY2(report.contains(folder + u"/: folder cannot be read"_qs), qPrintable(report));
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
    const QStringList pages{u"page10.htm"_qs, u"Page2.htm"_qs, u"page1.htm"_qs, u"about.htm"_qs};
    const QList<int> times{30, 10, 20, 10};
    QTest::newRow("name") << pages << times << name << QStringList() << 0
                          << QStringList{u"about.htm"_qs, u"page1.htm"_qs, u"page10.htm"_qs, u"Page2.htm"_qs};
    QTest::newRow("natural") << pages << times << natural << QStringList() << 0
                             << QStringList{u"about.htm"_qs, u"page1.htm"_qs, u"Page2.htm"_qs,
                                            u"page10.htm"_qs};
    QTest::newRow("natural, equal numbers by name")
        << QStringList{u"a2.htm"_qs, u"a02.htm"_qs, u"A2.htm"_qs} << QList<int>{0, 0, 0} << natural
        << QStringList() << 0 << QStringList{u"a02.htm"_qs, u"A2.htm"_qs, u"a2.htm"_qs};
    QTest::newRow("date, newest first, equal dates by name")
        << pages << times << date << QStringList() << 0
        << QStringList{u"page10.htm"_qs, u"page1.htm"_qs, u"about.htm"_qs, u"Page2.htm"_qs};
    QTest::newRow("limit after the order")
        << pages << times << date << QStringList() << 2 << QStringList{u"page10.htm"_qs, u"page1.htm"_qs};
    QTest::newRow("limit, name order")
        << pages << times << name << QStringList() << 1 << QStringList{u"about.htm"_qs};
    QTest::newRow("limit above the count")
        << pages << times << natural << QStringList() << 99
        << QStringList{u"about.htm"_qs, u"page1.htm"_qs, u"Page2.htm"_qs, u"page10.htm"_qs};
    QTest::newRow("exclude star, any letter case")
        << pages << times << name << QStringList{u"PAGE*"_qs} << 0 << QStringList{u"about.htm"_qs};
    QTest::newRow("exclude question mark and set")
        << pages << times << name << QStringList{u"page?.htm"_qs, u"[a-c]*"_qs} << 0
        << QStringList{u"page10.htm"_qs};
    QTest::newRow("exclude before the limit")
        << pages << times << date << QStringList{u"page10.htm"_qs} << 1 << QStringList{u"page1.htm"_qs};
    QTest::newRow("exclude, whole name only")
        << pages << times << name << QStringList{u"page"_qs, u"*.html"_qs} << 0
        << QStringList{u"about.htm"_qs, u"page1.htm"_qs, u"page10.htm"_qs, u"Page2.htm"_qs};
    QTest::newRow("exclude, negated set") << pages << times << name << QStringList{u"[!p]*"_qs} << 0
                                          << QStringList{u"page1.htm"_qs, u"page10.htm"_qs, u"Page2.htm"_qs};
    QTest::newRow("everything excluded")
        << pages << times << date << QStringList{u"*"_qs} << 0 << QStringList();
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
