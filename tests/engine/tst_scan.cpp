#include "engine/filename.h"
#include "engine/order.h"
#include "engine/paths.h"
#include "engine/scan.h"
#include "engine/title.h"
#include "fixture.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

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
}

void ScanTest::order() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    // Run in the C locale, where the order is the language-neutral one, and in a language of its own.
    const QLocale saved;
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::French, QLocale::France)}) {
        QLocale::setDefault(locale);
        QStringList list = names;
        SortPageNames(list);
        QCOMPARE(list, sorted);
        for (qsizetype i = 1; i < list.size(); ++i)
            QVERIFY(PageNameLess(list[i - 1], list[i]));
    }
    QLocale::setDefault(saved);
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
