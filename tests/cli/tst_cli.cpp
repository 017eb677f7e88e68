// Runs the built pagewick-cli and checks its output bytes, files and exit codes.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray SiteIndex = "<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n"
                             "<li><a href=\"b.html\">$T/site/b.html</a>\r\n</ul>";
const QByteArray SitePage =
    "<html><head><meta charset=\"utf-8\"><title>My Site</title></head><body><h1>My Site</h1>" + SiteIndex +
    "</body></html>\r\n";
const QByteArray SiteFeed =
    "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel>\r\n"
    "<title>News</title><link>http://example.org</link><description>News</description>\r\n"
    "<item>\r\n<title>Alpha</title>\r\n<description>Alpha</description>\r\n"
    "<link>http://example.org/a.htm</link>\r\n</item>"
    "<item>\r\n<title>$T/site/b.html</title>\r\n<description>$T/site/b.html</description>\r\n"
    "<link>http://example.org/b.html</link>\r\n</item></channel></rss>";
const QStringList FeedOptions = {"--feed-title", "News", "--site-url", "http://example.org"};

// "x" and then 40,000 emoji: the surrogate pairs start at an odd offset of the index text.
QByteArray LongTitle() {
    QByteArray title = "x";
    for (int i = 0; i < 40000; ++i)
        title += "\xf0\x9f\x98\x80";
    return title;
}

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir temp;
    QString root;

    QByteArray expand(QByteArray text) const { return text.replace("$T", root.toUtf8()); }
    QStringList expand(QStringList args) const {
        for (QString& a : args)
            a.replace("$T", root);
        return args;
    }
    void write(const QString& relative, const QByteArray& bytes) {
        QFile f(root + '/' + relative);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    Result run(QProcess& process, const QString& program, const QStringList& args) {
        process.start(program, args);
        Result r;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return r;
        r.exitCode = process.exitCode();
        r.out = process.readAllStandardOutput();
        r.err = process.readAllStandardError();
        return r;
    }
    Result run(const QStringList& args) {
        QProcess process;
        return run(process, PAGEWICK_CLI, expand(args));
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(temp.isValid());
        root = temp.path();
        QDir d(root);
        for (const char* sub : {"site", "empty", "order", "order/sub.htm", "out"})
            QVERIFY(d.mkpath(sub));
        write("site/a.htm", "<html><head><title>Alpha</title></head><body>A</body></html>");
        write("site/b.html", "<html><body>no title here</body></html>");
        write("order/B.htm", "<title>Bee</title>");
        write("order/a.HTML", "<title>Ay</title>");
        write("order/c.htm", "<title>Caf\xc3\xa9</title>");
        write("order/.hidden.htm", "<title>Hidden</title>");
        write("order/notes.txt", "<title>Notes</title>");
        QVERIFY(d.mkpath("long"));
        write("long/a.htm", "<meta charset=\"utf-8\"><title>" + LongTitle() + "</title>");
    }

    void output_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("index") << QStringList{"index", "$T/site"} << SiteIndex;
        QTest::newRow("index, folder ending in a separator") << QStringList{"index", "$T/site/"} << SiteIndex;
        QTest::newRow("index, folder after --") << QStringList{"index", "--", "$T/site"} << SiteIndex;
        QTest::newRow("index of an empty folder")
            << QStringList{"index", "$T/empty"} << QByteArray("<ul>\r\n</ul>");
        QTest::newRow("index, list order and UTF-8")
            << QStringList{"index", "$T/order"}
            << QByteArray("<ul>\r\n<li><a href=\"a.HTML\">Ay</a>\r\n<li><a href=\"B.htm\">Bee</a>\r\n"
                          "<li><a href=\"c.htm\">Caf\xc3\xa9</a>\r\n</ul>");
        // Output is written in pieces; a character outside the BMP must not be cut in two.
        QTest::newRow("index, long title of characters outside the BMP")
            << QStringList{"index", "$T/long"}
            << QByteArray("<ul>\r\n<li><a href=\"a.htm\">" + LongTitle() + "</a>\r\n</ul>");
        QTest::newRow("page") << QStringList{"page", "$T/site", "--title", "My Site"} << SitePage;
        QTest::newRow("page, options before the folder")
            << QStringList{"page", "--title", "My Site", "$T/site"} << SitePage;
        QTest::newRow("page with an empty title")
            << QStringList{"page", "$T/site", "--title", ""}
            << QByteArray("<html><head><meta charset=\"utf-8\"><title></title></head><body><h1></h1>" +
                          SiteIndex + "</body></html>\r\n");
        QTest::newRow("rss") << QStringList{"rss", "$T/site"} + FeedOptions << SiteFeed;
        QTest::newRow("titles") << QStringList{"titles", "$T/site"}
                                << QByteArray("a.htm\tAlpha\nb.html\t$T/site/b.html\n");
        QTest::newRow("titles, list order and UTF-8")
            << QStringList{"titles", "$T/order"}
            << QByteArray("a.HTML\tAy\nB.htm\tBee\nc.htm\tCaf\xc3\xa9\n");
        QTest::newRow("titles of an empty folder") << QStringList{"titles", "$T/empty"} << QByteArray();
    }
    void output() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, expected);
        const Result r = run(args);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.out, expand(expected));
        QCOMPARE(r.exitCode, 0);
    }

    void outputFile_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("oldContent"); // empty: no file there before
        QTest::addColumn<QByteArray>("expected");

        const QStringList page = {"page", "$T/site", "--title", "My Site"};
        QTest::newRow("page, new file")
            << page + QStringList{"-o", "$T/out/target"} << QByteArray() << SitePage;
        QTest::newRow("page replaces a longer file")
            << page + QStringList{"-o", "$T/out/target"} << QByteArray(5000, 'x') << SitePage;
        QTest::newRow("page, --output")
            << page + QStringList{"--output", "$T/out/target"} << QByteArray("old") << SitePage;
        QTest::newRow("rss, text as it is")
            << QStringList{"rss", "$T/site", "-o", "$T/out/target"} + FeedOptions << QByteArray("old")
            << SiteFeed;
    }
    void outputFile() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, oldContent);
        QFETCH(QByteArray, expected);
        const QString target = root + "/out/target";
        QFile::remove(target);
        if (!oldContent.isEmpty())
            write("out/target", oldContent);
        const Result r = run(args);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(read(target), expand(expected));
        QCOMPARE(QDir(root + "/out").entryList(QDir::Files | QDir::Hidden), QStringList{"target"});
    }

    // Every failure leaves the output file alone: an existing one byte for byte, a new one not made.
    void failure_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("no arguments") << QStringList{} << 2;
        QTest::newRow("unknown command") << QStringList{"list", "$T/site"} << 2;
        QTest::newRow("folder missing from the command line") << QStringList{"index"} << 2;
        QTest::newRow("extra argument") << QStringList{"index", "$T/site", "$T/site"} << 2;
        QTest::newRow("unknown option") << QStringList{"index", "$T/site", "--bogus"} << 2;
        QTest::newRow("page without --title") << QStringList{"page", "$T/site", "-o", "$T/out/keep"} << 2;
        QTest::newRow("page, --title without its value") << QStringList{"page", "$T/site", "--title"} << 2;
        QTest::newRow("rss without --site-url")
            << QStringList{"rss", "$T/site", "--feed-title", "F", "-o", "$T/out/new"} << 2;
        QTest::newRow("rss without --feed-title")
            << QStringList{"rss", "$T/site", "--site-url", "http://x/", "-o", "$T/out/keep"} << 2;
        QTest::newRow("index does not write files")
            << QStringList{"index", "$T/site", "-o", "$T/out/new"} << 2;
        QTest::newRow("titles takes no title") << QStringList{"titles", "$T/site", "--title", "T"} << 2;
        QTest::newRow("folder does not exist")
            << QStringList{"page", "$T/missing", "--title", "T", "-o", "$T/out/keep"} << 1;
        QTest::newRow("folder is a file")
            << QStringList{"rss", "$T/site/a.htm", "-o", "$T/out/new"} + FeedOptions << 1;
        QTest::newRow("page, output under a regular file")
            << QStringList{"page", "$T/site", "--title", "T", "-o", "$T/out/keep/new"} << 1;
        QTest::newRow("rss, output under a regular file")
            << QStringList{"rss", "$T/site", "-o", "$T/out/keep/new"} + FeedOptions << 1;
    }
    void failure() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFile::remove(root + "/out/target");
        write("out/keep", "old page\r\n");
        const Result r = run(args);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, QByteArray());
        if (exitCode == 2) {
            QVERIFY2(r.err.contains("\nUsage: pagewick-cli index FOLDER\n"), r.err.constData());
        } else {
            QVERIFY2(r.err.startsWith("pagewick-cli: "), r.err.constData());
            QCOMPARE(r.err.count('\n'), 1);
            QVERIFY(r.err.endsWith('\n'));
        }
        QCOMPARE(read(root + "/out/keep"), QByteArray("old page\r\n"));
        QCOMPARE(QDir(root + "/out").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"keep"});
    }

    void helpAndVersion_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("start");
        const QByteArray usage = "Usage: pagewick-cli index FOLDER\n";
        QTest::newRow("--help") << QStringList{"--help"} << usage;
        QTest::newRow("-h") << QStringList{"-h"} << usage;
        QTest::newRow("help after a command") << QStringList{"rss", "--help"} << usage;
        QTest::newRow("--version") << QStringList{"--version"}
                                   << QByteArray("pagewick-cli " PAGEWICK_VERSION "\n");
    }
    void helpAndVersion() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, start);
        const Result r = run(args);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QByteArray());
        QVERIFY2(r.out.startsWith(start), r.out.constData());
    }

    // File names are bytes; a folder whose name is not UTF-8 must still be found.
    void folderNameThatIsNotUtf8() {
        const QByteArray folder = QFile::encodeName(root) + "/odd\xff";
        QCOMPARE(::mkdir(folder.constData(), 0755), 0);
        // QTemporaryDir cannot remove what it cannot name.
        const auto cleanUp = qScopeGuard([&] {
            ::unlink((folder + "/a.htm").constData());
            ::rmdir(folder.constData());
        });
        const int fd = ::open((folder + "/a.htm").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0);
        const QByteArray page = "<title>Alpha</title>";
        QCOMPARE(::write(fd, page.constData(), page.size()), page.size());
        ::close(fd);

        const QString script = R"sh(exec "$0" "$1" "$(printf '%b' "$2")")sh";
        const QString escaped = root + "/odd\\0377";
        QProcess process;
        Result r = run(process, "/bin/sh", QStringList{"-c", script, PAGEWICK_CLI, "index", escaped});
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.out, QByteArray("<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n</ul>"));
        r = run(process, "/bin/sh", QStringList{"-c", script, PAGEWICK_CLI, "titles", escaped});
        QCOMPARE(r.out, QByteArray("a.htm\tAlpha\n"));
    }

    // A write that fails half-way (here: the file size limit, which holds for root too) must
    // leave the old file as it was and no temporary file behind.
    void failedWriteKeepsOldFile_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("page") << QStringList{"page", "$T/site", "--title", "My Site", "-o", "$T/out/keep"};
        QTest::newRow("rss") << QStringList{"rss", "$T/site", "-o", "$T/out/keep"} + FeedOptions;
    }
    void failedWriteKeepsOldFile() {
        QFETCH(QStringList, args);
        write("out/keep", "old page\r\n");
        QProcess process;
        process.setChildProcessModifier([] {
            const rlimit limit{64, 64};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN);
        });
        const Result r = run(process, PAGEWICK_CLI, expand(args));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith("pagewick-cli: "), r.err.constData());
        QCOMPARE(read(root + "/out/keep"), QByteArray("old page\r\n"));
        QCOMPARE(QDir(root + "/out").entryList(QDir::Files | QDir::Hidden), QStringList{"keep"});
    }

    void standardOutputThatCannotBeWritten() {
        if (!QFile::exists("/dev/full"))
            QSKIP("no /dev/full here");
        QProcess process;
        process.setStandardOutputFile("/dev/full");
        const Result r = run(process, PAGEWICK_CLI, expand({"index", "$T/site"}));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith("pagewick-cli: "), r.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
