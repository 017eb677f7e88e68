#include "engine/output/spool_p.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class SpoolTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void spoolGivesBackItsText_data();
    void spoolGivesBackItsText();
};

// The text a feed holds back until its start is known comes back whole and in order, in pieces of
// whole lines, whether it stayed in memory, went to a temporary file, or could not.
void SpoolTest::spoolGivesBackItsText_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("tempFolder"); // "" the usual one; "missing"; "limited" (the file cannot grow)
    QTest::addColumn<int>("padding");        // characters added to each line
    QTest::newRow("nothing") << 0 << QString() << 0;
    QTest::newRow("a little, in memory") << 100 << QString() << 0;
    QTest::newRow("megabytes, in a temporary file") << 40000 << QString() << 0;
    QTest::newRow("lines longer than what is read back at once") << 5 << QString() << 300000;
    QTest::newRow("no temporary folder") << 40000 << u"missing"_s << 0;
    QTest::newRow("a temporary file that stops growing") << 40000 << u"limited"_s << 0;
}

void SpoolTest::spoolGivesBackItsText() {
    QFETCH(int, lines);
    QFETCH(QString, tempFolder);
    QFETCH(int, padding);
    QTemporaryDir dir;
    const QByteArray savedTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tempFolder == u"missing"_s ? QFile::encodeName(dir.path() + u"/gone"_s)
                                                 : QFile::encodeName(dir.path()));
    rlimit saved{};
    if (tempFolder == u"limited"_s) {
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 1536 * 1024; // the first megabyte goes to the file, the second does not fit
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    QString given;
    QStringList pieces;
    {
        detail::TextSpool spool;
        for (int i = 0; i < lines; ++i) {
            const QString line =
                u"<entry>\u00e9t\u00e9 \U0001F600 %1%2</entry>\r\n"_s.arg(i).arg(QString(padding, u'\u00e9'));
            spool.append(line);
            given += line;
        }
        spool.replay([&pieces](const QString& piece) { pieces << piece; });
    }
    if (tempFolder == u"limited"_s)
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);
    qputenv("TMPDIR", savedTemp);
    QCOMPARE(pieces.join(QString()), given);
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i)
        QVERIFY(pieces[i].endsWith(u'\n'));
    // The temporary file goes with the spool.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(SpoolTest)
#include "tst_spool.moc"
