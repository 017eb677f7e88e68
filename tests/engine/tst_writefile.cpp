#include "engine/files/writefile.h"
#include "fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class WriteFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writeReplacesFile();
    void failedWriteKeepsFile_data();
    void failedWriteKeepsFile();
};

void WriteFileTest::writeReplacesFile() {
    QTemporaryDir dir;
    const QString path = WriteFixture(dir.path(), u"index.htm"_s, "old content that is longer");
    QString error;
    QVERIFY(WriteTextFile(path, u"Ünïcode\r\n"_s, &error));
    QVERIFY(error.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\xC3\x9Cn\xC3\xAF"
                                        "code\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"index.htm"_s});
}

void WriteFileTest::failedWriteKeepsFile_data() {
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("sizeLimit");
    QTest::newRow("under a regular file") << u"keep.htm/index.htm"_s << false;
    QTest::newRow("onto a folder") << u"folder"_s << false;
    QTest::newRow("write fails midway") << u"keep.htm"_s << true;
}

void WriteFileTest::failedWriteKeepsFile() {
    QFETCH(QString, relative);
    QFETCH(bool, sizeLimit);
    QTemporaryDir dir;
    const QByteArray old = "the old page";
    WriteFixture(dir.path(), u"keep.htm"_s, old);
    QVERIFY(QDir(dir.path()).mkpath(u"folder/inside"_s));
    const QString path = dir.path() + u'/' + relative;

    // A file-size limit makes writing fail even for root.
    rlimit saved{};
    if (sizeLimit) {
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 4;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    QString error;
    const bool written = WriteTextFile(path, QString(100000, u'x'), &error);
    if (sizeLimit)
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);

    QVERIFY(!written);
    QVERIFY2(error.contains(path), qPrintable(error));
    QFile kept(dir.path() + u"/keep.htm"_s);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), old);
    QVERIFY(QFileInfo(dir.path() + u"/folder/inside"_s).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"keep.htm"_s});
}

QTEST_GUILESS_MAIN(WriteFileTest)
#include "tst_writefile.moc"
