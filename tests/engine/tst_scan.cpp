#include "capabilities.h"
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
#include <QTemporaryDir>
#include <QTest>

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
};

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

QTEST_GUILESS_MAIN(ScanTest)
#include "tst_scan.moc"
