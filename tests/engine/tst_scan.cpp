#include "engine/filename.h"
#include "engine/paths.h"
#include "engine/scan.h"
#include "engine/title.h"
#include "fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pagewick;

class tst_Scan : public QObject {
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
};

static QStringList Sorted(QStringList names) {
    names.sort();
    return names;
}

void tst_Scan::matching_data() {
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

void tst_Scan::matching() {
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

void tst_Scan::onlyRegularFiles() {
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

void tst_Scan::unlistableFolder_data() {
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing") << u"no-such-folder"_qs;
    QTest::newRow("under a regular file") << u"file.htm/sub"_qs;
    QTest::newRow("a regular file") << u"file.htm"_qs;
}

void tst_Scan::unlistableFolder() {
    QFETCH(QString, relative);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WriteFixture(dir.path(), u"file.htm"_qs, "x");
    QCOMPARE(ScanPageFiles(dir.path() + u'/' + relative), QStringList());
}

void tst_Scan::bytesOfNamesSurvive() {
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

void tst_Scan::order_data() {
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
    QTest::newRow("accented letters") << QStringList{u"Éclair.htm"_qs, u"zebra.htm"_qs, u"éclair.htm"_qs}
                                      << QStringList{u"zebra.htm"_qs, u"Éclair.htm"_qs, u"éclair.htm"_qs};
}

void tst_Scan::order() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    SortPageNames(names);
    QCOMPARE(names, sorted);
}

QTEST_GUILESS_MAIN(tst_Scan)
#include "tst_scan.moc"
