// Runs the built pagewick-cli and checks its output bytes, files and exit codes.

#include "../capabilities.h"
#include "../clirun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utime.h>

using namespace Qt::Literals::StringLiterals;

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
// The "dated" folder: three pages with modification times, newest last by name.
const QStringList AtomOptions = {"--feed-title",   "News",       "--site-url",
                                 "https://x.org/", "--feed-url", "https://x.org/atom.xml"};
const QByteArray SitemapHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                               "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\r\n";

// The nested fixture "tree": pages a folder deep and two, a hidden folder, a name that needs encoding.
const QByteArray TreeIndex = "<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n<li><a href=\"B/y.htm\">Why</a>\r\n"
                             "<li><a href=\"sub%20dir/b.htm\">Bee</a>\r\n"
                             "<li><a href=\"sub%20dir/deeper/c.htm\">Sea</a>\r\n"
                             "<li><a href=\"z.htm\">$T/tree/z.htm</a>\r\n</ul>";

QByteArray FeedItem(const QByteArray& title, const QByteArray& path) {
    return "<item>\r\n<title>" + title + "</title>\r\n<description>" + title +
           "</description>\r\n<link>http://example.org/" + path + "</link>\r\n</item>";
}

// "x" and then 40,000 emoji: the surrogate pairs start at an odd offset of the index text.
QByteArray LongTitle() {
    QByteArray title = "x";
    for (int i = 0; i < 40000; ++i)
        title += "\xf0\x9f\x98\x80";
    return title;
}

using Result = CliResult;

} // namespace

class CliTest : public QObject {
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
        return RunCli(process, program, args);
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
        for (const char* sub : {"tree/sub dir/deeper", "tree/B", "tree/.hidden"})
            QVERIFY(d.mkpath(sub));
        write("tree/a.htm", "<title>Alpha</title>");
        write("tree/z.htm", "no title");
        write("tree/B/y.htm", "<title>Why</title>");
        write("tree/sub dir/b.htm", "<title>Bee</title>");
        write("tree/sub dir/deeper/c.htm", "<title>Sea</title>");
        write("tree/.hidden/x.htm", "<title>Hidden</title>");
        // Titles as a browser finds them, in the order of the reader's language.
        QVERIFY(d.mkpath("reader"));
        write("reader/Zeta.htm", "<!-- <title>Old</title> --><title>New</title>");
        write("reader/\xc3\xa9"
              "clair.htm",
              "<script>'<title>x</title>'</script><title>a <b>c</b></title>");
        write("reader/late.htm", "<!--" + QByteArray(1100, ' ') +
                                     "--><meta charset=iso-8859-2><title>\xb3\xf3"
                                     "d\xbc</title>");
        QVERIFY(d.mkpath("long"));
        write("long/a.htm", "<meta charset=\"utf-8\"><title>" + LongTitle() + "</title>");
        QVERIFY(d.mkpath("dated"));
        const struct {
            const char* name;
            const char* title;
            QDateTime time;
        } dated[] = {
            {"page10.htm", "Ten", QDateTime(QDate(2024, 5, 3), QTime(7, 8, 9), QTimeZone::utc())},
            {"page2.htm", "Two", QDateTime(QDate(2023, 1, 2), QTime(3, 4, 5), QTimeZone::utc())},
            {"draft.htm", "Draft", QDateTime(QDate(2025, 1, 1), QTime(0, 0, 0), QTimeZone::utc())},
        };
        // Pages that declare a date (and one a description) in their head.
        QVERIFY(d.mkpath("meta"));
        write("meta/m1.htm",
              "<head><meta name=\"description\" content=\"About &amp;lt;x&gt; &eacute;\">"
              "<meta name=\"date\" content=\"2024-02-03T04:05:06+01:00\"><title>M1</title></head>");
        write("meta/m2.htm",
              "<head><meta property=\"article:published_time\" content=\"2023-07-08T09:10:11Z\">"
              "<title>M2</title></head><body><meta name=\"description\" content=\"late\">");
        for (const auto& page : dated) {
            write(QString("dated/") + page.name, QByteArray("<title>") + page.title + "</title>");
            QFile f(root + "/dated/" + page.name);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(page.time, QFileDevice::FileModificationTime));
        }
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
        QTest::newRow("titles as a browser finds them")
            << QStringList{"titles", "$T/reader"}
            << QByteArray("\xc3\xa9"
                          "clair.htm\ta <b>c</b>\nlate.htm\t\xc5\x82\xc3\xb3"
                          "d\xc5\xba\nZeta.htm\tNew\n");
        QTest::newRow("index, titles as text")
            << QStringList{"index", "$T/reader"}
            << QByteArray("<ul>\r\n<li><a href=\"%C3%A9clair.htm\">a &lt;b&gt;c&lt;/b&gt;</a>\r\n"
                          "<li><a href=\"late.htm\">\xc5\x82\xc3\xb3"
                          "d\xc5\xba</a>\r\n"
                          "<li><a href=\"Zeta.htm\">New</a>\r\n</ul>");

        QTest::newRow("index, sub-folders left out")
            << QStringList{"index", "$T/tree"}
            << QByteArray("<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n"
                          "<li><a href=\"z.htm\">$T/tree/z.htm</a>\r\n</ul>");
        QTest::newRow("index, recursive") << QStringList{"index", "$T/tree", "--recursive"} << TreeIndex;
        QTest::newRow("index, --max-depth 9")
            << QStringList{"index", "--max-depth", "9", "$T/tree"} << TreeIndex;
        QTest::newRow("titles, recursive")
            << QStringList{"titles", "--recursive", "$T/tree"}
            << QByteArray("a.htm\tAlpha\nB/y.htm\tWhy\nsub dir/b.htm\tBee\nsub dir/deeper/c.htm\tSea\n"
                          "z.htm\t$T/tree/z.htm\n");
        QTest::newRow("titles, --max-depth 1")
            << QStringList{"titles", "--recursive", "--max-depth", "1", "$T/tree"}
            << QByteArray("a.htm\tAlpha\nB/y.htm\tWhy\nsub dir/b.htm\tBee\nz.htm\t$T/tree/z.htm\n");
        QTest::newRow("titles, --max-depth 0") << QStringList{"titles", "--max-depth", "0", "$T/tree"}
                                               << QByteArray("a.htm\tAlpha\nz.htm\t$T/tree/z.htm\n");
        QTest::newRow("titles, recursive, --exclude a folder's pages")
            << QStringList{"titles", "$T/tree", "--recursive", "--exclude", "sub dir/*"}
            << QByteArray("a.htm\tAlpha\nB/y.htm\tWhy\nz.htm\t$T/tree/z.htm\n");
        QTest::newRow("titles, recursive, --exclude a folder, and * within one part")
            << QStringList{"titles", "$T/tree", "--recursive", "--exclude", "b", "--exclude", "*/c.htm"}
            << QByteArray(
                   "a.htm\tAlpha\nsub dir/b.htm\tBee\nsub dir/deeper/c.htm\tSea\nz.htm\t$T/tree/z.htm\n");
        QTest::newRow("rss, recursive")
            << QStringList{"rss", "$T/tree", "--recursive"} + FeedOptions
            << "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel>\r\n"
               "<title>News</title><link>http://example.org</link><description>News</description>\r\n" +
                   FeedItem("Alpha", "a.htm") + FeedItem("Why", "B/y.htm") +
                   FeedItem("Bee", "sub%20dir/b.htm") + FeedItem("Sea", "sub%20dir/deeper/c.htm") +
                   FeedItem("$T/tree/z.htm", "z.htm") + "</channel></rss>";
        QTest::newRow("check, nothing found")
            << QStringList{"check", "$T/order"} << QByteArray("Nothing found; 3 pages checked\n");
        // Order and filter, the same for every command that lists pages.
        QTest::newRow("titles, --sort natural")
            << QStringList{"titles", "$T/dated", "--sort", "natural"}
            << QByteArray("draft.htm\tDraft\npage2.htm\tTwo\npage10.htm\tTen\n");
        QTest::newRow("titles, --sort date")
            << QStringList{"titles", "$T/dated", "--sort", "date"}
            << QByteArray("draft.htm\tDraft\npage10.htm\tTen\npage2.htm\tTwo\n");
        QTest::newRow("titles, --sort name and --exclude twice")
            << QStringList{"titles", "$T/dated", "--sort", "name", "--exclude", "D*", "--exclude", "*2.htm"}
            << QByteArray("page10.htm\tTen\n");
        QTest::newRow("index, --exclude") << QStringList{"index", "$T/site", "--exclude", "B.*"}
                                          << QByteArray("<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n</ul>");
        QTest::newRow("page, --sort natural --exclude")
            << QStringList{"page", "$T/dated", "--title", "T", "--sort", "natural", "--exclude", "draft*"}
            << QByteArray(
                   "<html><head><meta charset=\"utf-8\"><title>T</title></head><body><h1>T</h1><ul>\r\n"
                   "<li><a href=\"page2.htm\">Two</a>\r\n<li><a href=\"page10.htm\">Ten</a>\r\n"
                   "</ul></body></html>\r\n");
        QTest::newRow("rss, every option")
            << QStringList{"rss",       "$T/dated",      "--feed-title",
                           "N",         "--site-url",    "https://x.org",
                           "--guid",    "--feed-url",    "https://x.org/feed.xml",
                           "--dates",   "--description", "meta",
                           "--sort",    "date",          "--exclude",
                           "draft.htm", "--limit",       "1"}
            << QByteArray(
                   "<?xml version=\"1.0\"?><rss version=\"2.0\" xmlns:atom=\"http://www.w3.org/2005/Atom\">"
                   "<channel>\r\n<title>N</title><link>https://x.org</link><description>N</description>"
                   "<atom:link href=\"https://x.org/feed.xml\" rel=\"self\" type=\"application/rss+xml\"/>"
                   "<lastBuildDate>Fri, 03 May 2024 07:08:09 +0000</lastBuildDate>\r\n"
                   "<item>\r\n<title>Ten</title>\r\n<description>Ten</description>\r\n"
                   "<link>https://x.org/page10.htm</link>\r\n"
                   "<guid isPermaLink=\"true\">https://x.org/page10.htm</guid>\r\n"
                   "<pubDate>Fri, 03 May 2024 07:08:09 +0000</pubDate>\r\n</item></channel></rss>");
        QTest::newRow("rss, options that publish nothing keep the free-text address")
            << QStringList{"rss",          "$T/site", "--dates",    "--limit", "1",
                           "--feed-title", "N",       "--site-url", "my site"}
            << QByteArray("<?xml version=\"1.0\"?><rss version=\"2.0\"><channel>\r\n<title>N</title>"
                          "<link>my site</link><description>N</description>") +
                   QFileInfo(root + "/site/a.htm")
                       .lastModified()
                       .toUTC()
                       .toString(u"'<lastBuildDate>'ddd, dd MMM yyyy "
                                 "hh:mm:ss '+0000</lastBuildDate>'")
                       .toUtf8() +
                   "\r\n<item>\r\n<title>Alpha</title>\r\n<description>Alpha</description>\r\n"
                   "<link>my site/a.htm</link>\r\n" +
                   QFileInfo(root + "/site/a.htm")
                       .lastModified()
                       .toUTC()
                       .toString(u"'<pubDate>'ddd, dd MMM yyyy "
                                 "hh:mm:ss '+0000</pubDate>'")
                       .toUtf8() +
                   "\r\n</item></channel></rss>";
        QTest::newRow("atom, natural order, limit")
            << QStringList{"atom", "$T/dated", "--sort", "natural", "--limit", "2"} + AtomOptions
            << QByteArray(
                   "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<feed "
                   "xmlns=\"http://www.w3.org/2005/Atom\">\r\n"
                   "<id>https://x.org/atom.xml</id>\r\n<title>News</title>\r\n"
                   "<updated>2025-01-01T00:00:00Z</updated>\r\n<author><name>News</name></author>\r\n"
                   "<link rel=\"self\" type=\"application/atom+xml\" href=\"https://x.org/atom.xml\"/>\r\n"
                   "<link rel=\"alternate\" type=\"text/html\" href=\"https://x.org/\"/>\r\n"
                   "<entry>\r\n<id>https://x.org/draft.htm</id>\r\n<link "
                   "href=\"https://x.org/draft.htm\"/>\r\n"
                   "<title>Draft</title>\r\n<updated>2025-01-01T00:00:00Z</updated>\r\n</entry>\r\n"
                   "<entry>\r\n<id>https://x.org/page2.htm</id>\r\n<link "
                   "href=\"https://x.org/page2.htm\"/>\r\n"
                   "<title>Two</title>\r\n<updated>2023-01-02T03:04:05Z</updated>\r\n</entry>\r\n</feed>");
        QTest::newRow("rss, declared dates and a meta description read once")
            << QStringList{"rss",     "$T/meta",       "--feed-title", "N",      "--site-url", "u",
                           "--dates", "--description", "meta",         "--sort", "date"}
            << QByteArray(
                   "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel>\r\n<title>N</title><link>u</link>"
                   "<description>N</description><lastBuildDate>Sat, 03 Feb 2024 03:05:06 "
                   "+0000</lastBuildDate>"
                   "\r\n<item>\r\n<title>M1</title>\r\n<description>About &amp;lt;x&gt; "
                   "\xc3\xa9</description>\r\n"
                   "<link>u/m1.htm</link>\r\n<pubDate>Sat, 03 Feb 2024 03:05:06 +0000</pubDate>\r\n</item>"
                   "<item>\r\n<title>M2</title>\r\n<description>M2</description>\r\n<link>u/m2.htm</link>\r\n"
                   "<pubDate>Sat, 08 Jul 2023 09:10:11 +0000</pubDate>\r\n</item></channel></rss>");
        QTest::newRow("sitemap, --lastmod, declared dates")
            << QStringList{"sitemap", "$T/meta", "--site-url", "https://x.org", "--lastmod"}
            << SitemapHead +
                   "<url><loc>https://x.org/m1.htm</loc><lastmod>2024-02-03T03:05:06Z</lastmod></url>\r\n"
                   "<url><loc>https://x.org/m2.htm</loc><lastmod>2023-07-08T09:10:11Z</lastmod></url>\r\n"
                   "</urlset>";
        QTest::newRow("sitemap") << QStringList{"sitemap",        "$T/dated",  "--site-url",
                                                "https://x.org/", "--exclude", "draft*"}
                                 << SitemapHead +
                                        "<url><loc>https://x.org/page10.htm</loc></url>\r\n"
                                        "<url><loc>https://x.org/page2.htm</loc></url>\r\n</urlset>";
        QTest::newRow("sitemap, --lastmod")
            << QStringList{"sitemap", "$T/dated", "--site-url", "https://x.org", "--lastmod"}
            << SitemapHead +
                   "<url><loc>https://x.org/draft.htm</loc><lastmod>2025-01-01T00:00:00Z</lastmod></url>\r\n"
                   "<url><loc>https://x.org/page10.htm</loc><lastmod>2024-05-03T07:08:09Z</lastmod></url>\r\n"
                   "<url><loc>https://x.org/page2.htm</loc><lastmod>2023-01-02T03:04:05Z</lastmod></"
                   "url>\r\n</urlset>";
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
        QTest::newRow("index") << QStringList{"index", "$T/site", "-o", "$T/out/target"} << QByteArray("old")
                               << SiteIndex;
        QTest::newRow("sitemap")
            << QStringList{"sitemap", "$T/site", "--site-url", "http://x.org", "-o", "$T/out/target"}
            << QByteArray()
            << SitemapHead +
                   "<url><loc>http://x.org/a.htm</loc></url>\r\n<url><loc>http://x.org/b.html</loc></url>"
                   "\r\n</urlset>";
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
        QTest::newRow("titles does not write files")
            << QStringList{"titles", "$T/site", "-o", "$T/out/new"} << 2;
        QTest::newRow("titles takes no title") << QStringList{"titles", "$T/site", "--title", "T"} << 2;
        QTest::newRow("--max-depth is not a number")
            << QStringList{"index", "$T/site", "--max-depth", "x"} << 2;
        QTest::newRow("--max-depth below 0") << QStringList{"titles", "$T/site", "--max-depth", "-1"} << 2;
        QTest::newRow("--format is for check") << QStringList{"index", "$T/site", "--format", "json"} << 2;
        QTest::newRow("check, unknown --format") << QStringList{"check", "$T/site", "--format", "xml"} << 2;
        QTest::newRow("check does not write files")
            << QStringList{"check", "$T/site", "-o", "$T/out/new"} << 2;
        QTest::newRow("--watch without -o") << QStringList{"page", "$T/site", "--title", "T", "--watch"} << 2;
        QTest::newRow("--watch on standard output")
            << QStringList{"page", "$T/site", "--title", "T", "-o", "-", "--watch"} << 2;
        QTest::newRow("index does not watch") << QStringList{"index", "$T/site", "--watch"} << 2;
        QTest::newRow("check of a missing folder") << QStringList{"check", "$T/missing"} << 1;
        QTest::newRow("watch, first write fails")
            << QStringList{"page", "$T/site", "--title", "T", "-o", "$T/out/keep/new", "--watch"} << 1;
        // Option values, and options a command does not take.
        const QStringList rss = QStringList{"rss", "$T/site", "-o", "$T/out/keep"} + FeedOptions;
        QTest::newRow("--sort, unknown order") << rss + QStringList{"--sort", "size"} << 2;
        QTest::newRow("--sort, letter case") << rss + QStringList{"--sort", "Date"} << 2;
        QTest::newRow("--limit 0") << rss + QStringList{"--limit", "0"} << 2;
        QTest::newRow("--limit -1") << rss + QStringList{"--limit", "-1"} << 2;
        QTest::newRow("--limit, not a number") << rss + QStringList{"--limit", "ten"} << 2;
        QTest::newRow("--limit, empty") << rss + QStringList{"--limit", ""} << 2;
        QTest::newRow("--description, unknown") << rss + QStringList{"--description", "body"} << 2;
        QTest::newRow("--exclude, unclosed set") << rss + QStringList{"--exclude", "[a"} << 2;
        QTest::newRow("--exclude, empty") << rss + QStringList{"--exclude", ""} << 2;
        QTest::newRow("index takes no --limit") << QStringList{"index", "$T/site", "--limit", "1"} << 2;
        QTest::newRow("index takes no --guid") << QStringList{"index", "$T/site", "--guid"} << 2;
        QTest::newRow("sitemap takes no --sort")
            << QStringList{"sitemap", "$T/site", "--site-url", "http://x.org", "--sort", "date"} << 2;
        QTest::newRow("atom takes no --dates")
            << QStringList{"atom", "$T/site", "--dates"} + AtomOptions << 2;
        QTest::newRow("rss takes no --lastmod") << rss + QStringList{"--lastmod"} << 2;
        // Addresses that get published must be web addresses.
        QTest::newRow("rss --guid, free-text site")
            << QStringList{"rss", "$T/site", "--feed-title", "F", "--site-url", "example.org", "--guid"} << 2;
        QTest::newRow("rss --feed-url, relative")
            << QStringList{"rss",        "$T/site",      "--feed-title", "F",
                           "--site-url", "http://x.org", "--feed-url",   "f.xml"}
            << 2;
        QTest::newRow("rss --feed-url, empty") << rss + QStringList{"--feed-url", ""} << 2;
        QTest::newRow("atom without --feed-url")
            << QStringList{"atom",       "$T/site",      "--feed-title", "F",
                           "--site-url", "http://x.org", "-o",           "$T/out/new"}
            << 2;
        QTest::newRow("atom, ftp site")
            << QStringList{"atom",       "$T/site",     "--feed-title", "F",
                           "--site-url", "ftp://x.org", "--feed-url",   "http://x.org/a.xml"}
            << 2;
        QTest::newRow("sitemap without --site-url")
            << QStringList{"sitemap", "$T/site", "-o", "$T/out/keep"} << 2;
        QTest::newRow("sitemap, no scheme")
            << QStringList{"sitemap", "$T/site", "--site-url", "x.org", "-o", "$T/out/keep"} << 2;
        QTest::newRow("sitemap, folder does not exist")
            << QStringList{"sitemap", "$T/missing", "--site-url", "http://x.org", "-o", "$T/out/keep"} << 1;
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
            QVERIFY2(r.err.contains("\nUsage: pagewick-cli index FOLDER "), r.err.constData());
        } else {
            QVERIFY2(r.err.startsWith("pagewick-cli: "), r.err.constData());
            QCOMPARE(r.err.count('\n'), 1);
            QVERIFY(r.err.endsWith('\n'));
        }
        QCOMPARE(read(root + "/out/keep"), QByteArray("old page\r\n"));
        QCOMPARE(QDir(root + "/out").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"keep"});
    }

    // Each row checks a folder made of "path|bytes" entries; locked entries are made unreadable.
    void check_data() {
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<QStringList>("locked");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("exitCode");

        const QByteArray noTitle =
            ": no title; the index and feeds would show the page's local path instead\n";
        const QByteArray title70(70, 'x');
        QTest::newRow("nothing found")
            << QByteArrayList{"a.htm|<title>A</title>", "b.htm|<title>B</title>"} << QStringList()
            << QStringList() << QByteArray("Nothing found; 2 pages checked\n") << 0;
        QTest::newRow("no title, and an empty one")
            << QByteArrayList{"a.htm|<p>text", "b.htm|<TITLE> \n </TITLE>", "c.htm|<title>C</title>"}
            << QStringList() << QStringList()
            << "a.htm" + noTitle +
                   "b.htm: the title is empty; the index and feeds would show the page's local path instead\n"
                   "2 findings; 3 pages checked\n"
            << 1;
        QTest::newRow("the same title names every other page")
            << QByteArrayList{"a.htm|<title>Home</title>", "b.htm|<title>Home</title>",
                              "sub/c.htm|<title>H&#111;me</title>", "d.htm|<title>home</title>"}
            << QStringList() << QStringList{"--recursive"}
            << QByteArray("a.htm: the same title as b.htm, sub/c.htm: \"Home\"\n"
                          "b.htm: the same title as a.htm, sub/c.htm: \"Home\"\n"
                          "sub/c.htm: the same title as a.htm, b.htm: \"Home\"\n"
                          "3 findings; 4 pages checked\n")
            << 1;
        QTest::newRow("titles of 70 characters pass, 71 do not")
            << QByteArrayList{"a.htm|<title>" + title70 + "</title>", "b.htm|<title>" + title70 + "y</title>",
                              "c.htm|<title>&amp;" + QByteArray(69, 'z') + "</title>",
                              "d.htm|<meta charset=utf-8><title>" + QByteArray(69, 'w') + "\xc3\xa9</title>"}
            << QStringList() << QStringList()
            << QByteArray("b.htm: the title is 71 characters long; search results cut titles at about 70\n"
                          "1 finding; 4 pages checked\n")
            << 1;
        QTest::newRow("characters XML forbids")
            << QByteArrayList{"a.htm|<title>bell\x07 and \x1b</title>", "b.htm|<title>tab\tok</title>"}
            << QStringList() << QStringList()
            << QByteArray("a.htm: the title holds characters that XML does not allow (U+0007, U+001B); the "
                          "feeds leave them out\n1 finding; 2 pages checked\n")
            << 1;
        QTest::newRow("declared UTF-8 that is not")
            << QByteArrayList{"a.htm|<meta charset=\"utf-8\"><title>A</title>caf\xe9",
                              "b.htm|\xef\xbb\xbf<title>B</title>\xff", "c.htm|<title>C</title>caf\xe9",
                              "d.htm|<meta charset=\"utf-8\"><title>D</title>cut \xe2\x82"}
            << QStringList() << QStringList()
            << QByteArray("a.htm: declared as UTF-8, but the byte at offset 41 is not valid UTF-8\n"
                          "b.htm: declared as UTF-8, but the byte at offset 19 is not valid UTF-8\n"
                          "d.htm: declared as UTF-8, but the byte at offset 42 is not valid UTF-8\n"
                          "3 findings; 4 pages checked\n")
            << 1;
        // The bytes are looked through in pieces of 64 KiB: a character may straddle two.
        const auto declaredUtf8 = [](char title) {
            const QByteArray start = "<meta charset=utf-8><title>" + QByteArray(1, title) + "</title>";
            return start + QByteArray(64 * 1024 - 1 - start.size(), 'x');
        };
        QTest::newRow("UTF-8 across pieces, and sequences UTF-8 does not allow")
            << QByteArrayList{"a.htm|" + declaredUtf8('A') + "\xe2\x82\xac ok",
                              "b.htm|" + declaredUtf8('B') + "\xe2\x82(",
                              "c.htm|<meta charset=utf-8><title>C</title>over\xe0\x80\xaflong",
                              "d.htm|<meta charset=utf-8><title>D</title>half\xed\xa0\x80pair"}
            << QStringList() << QStringList()
            << QByteArray("b.htm: declared as UTF-8, but the byte at offset 65535 is not valid UTF-8\n"
                          "c.htm: declared as UTF-8, but the byte at offset 40 is not valid UTF-8\n"
                          "d.htm: declared as UTF-8, but the byte at offset 40 is not valid UTF-8\n"
                          "3 findings; 4 pages checked\n")
            << 1;
        QTest::newRow("a byte-order mark against the meta charset")
            << QByteArrayList{"a.htm|\xef\xbb\xbf<meta charset=\"windows-1252\"><title>A</title>",
                              "b.htm|\xef\xbb\xbf<meta charset=\"utf-8\"><title>B</title>"}
            << QStringList() << QStringList()
            << QByteArray("a.htm: starts with a UTF-8 byte-order mark but declares windows-1252; browsers "
                          "follow the mark\n1 finding; 2 pages checked\n")
            << 1;
        QTest::newRow("a legacy declaration over UTF-8 bytes")
            << QByteArrayList{"a.htm|<meta charset=\"latin1\"><title>Caf\xc3\xa9</title>",
                              "b.htm|<meta charset=\"latin1\"><title>Caf\xe9</title>",
                              "c.htm|<meta charset=\"latin1\"><title>Cafe</title>"}
            << QStringList() << QStringList()
            << QByteArray(
                   "a.htm: declares windows-1252, but its bytes are UTF-8; its text would show garbled\n"
                   "1 finding; 3 pages checked\n")
            << 1;
        QTest::newRow("a title element only where a browser's tokenizer sees one")
            << QByteArrayList{"a.htm|<!-- <title>Old</title> --><p>text",
                              "b.htm|<script>var t = '<title>';</script><p>text",
                              "c.htm|<a title=\"<title>\">link</a>", "d.htm|<!-- x --><title></title>"}
            << QStringList() << QStringList()
            << "a.htm" + noTitle + "b.htm" + noTitle + "c.htm" + noTitle +
                   "d.htm: the title is empty; the index and feeds would show the page's local path instead\n"
                   "4 findings; 4 pages checked\n"
            << 1;
        // Past the first 1,024 bytes, a meta element before the title still declares the encoding.
        const QByteArray late = "<p>" + QByteArray(1100, 'x');
        QTest::newRow("a late meta charset")
            << QByteArrayList{"a.htm|" + late + "<meta charset=\"utf-8\"><title>A</title>caf\xe9",
                              "b.htm|" + late + "<meta charset=\"latin1\"><title>Caf\xc3\xa9</title>",
                              "c.htm|" + late + "<title>C</title><meta charset=\"utf-8\">caf\xe9",
                              "d.htm|\xef\xbb\xbf" + late + "<meta charset=\"koi8-r\"><title>D</title>"}
            << QStringList() << QStringList()
            << "a.htm: declared as UTF-8, but the byte at offset " + QByteArray::number(late.size() + 41) +
                   " is not valid UTF-8\n"
                   "b.htm: declares windows-1252, but its bytes are UTF-8; its text would show garbled\n"
                   "d.htm: starts with a UTF-8 byte-order mark but declares KOI8-R; browsers follow the "
                   "mark\n"
                   "3 findings; 4 pages checked\n"
            << 1;
        QTest::newRow("an XML declaration")
            << QByteArrayList{"a.htm|<?xml version=\"1.0\" encoding=\"utf-8\"?><title>A</title>caf\xe9",
                              "b.htm|<?xml version='1.0' encoding='iso-8859-1'?><title>Caf\xc3\xa9</title>",
                              "c.htm|\xef\xbb\xbf<?xml version=\"1.0\" "
                              "encoding=\"iso-8859-2\"?><title>C</title>"}
            << QStringList() << QStringList()
            << QByteArray(
                   "a.htm: declared as UTF-8, but the byte at offset 57 is not valid UTF-8\n"
                   "b.htm: declares windows-1252, but its bytes are UTF-8; its text would show garbled\n"
                   "c.htm: starts with a UTF-8 byte-order mark but declares ISO-8859-2; browsers "
                   "follow the mark\n3 findings; 3 pages checked\n")
            << 1;
        QTest::newRow("a page that cannot be read")
            << QByteArrayList{"a.htm|<title>A</title>", "b.htm|<title>B</title>"} << QStringList{"b.htm"}
            << QStringList()
            << QByteArray("b.htm: cannot be read (Permission denied)\n1 finding; 2 pages checked\n") << 1;
        QTest::newRow("a sub-folder that cannot be read")
            << QByteArrayList{"a.htm|<title>A</title>", "shut/b.htm|<title>B</title>"} << QStringList{"shut"}
            << QStringList{"--recursive"}
            << QByteArray("shut/: folder cannot be read (Permission denied); its pages are left out\n"
                          "1 finding; 1 page checked\n")
            << 1;
        const auto utf16 = [](const char* text, bool bigEndian) {
            QByteArray bytes = bigEndian ? "\xfe\xff" : "\xff\xfe";
            for (const char* c = text; *c; ++c)
                bytes += bigEndian ? QByteArray(1, 0) + *c : QByteArray(1, *c) + '\0';
            return bytes;
        };
        QTest::newRow("UTF-16 pages")
            << QByteArrayList{"a.htm|" + utf16("<TITLE> </TITLE>", false), "b.htm|" + utf16("<p>none", true),
                              "c.htm|" + utf16("<title>C</title>", true)}
            << QStringList() << QStringList()
            << "a.htm: the title is empty; the index and feeds would show the page's local path "
               "instead\nb.htm" +
                   noTitle + "2 findings; 3 pages checked\n"
            << 1;
        QTest::newRow("json")
            << QByteArrayList{"a.htm|<p>none", "b.htm|<title>B</title>"} << QStringList()
            << QStringList{"--format", "json"}
            << QByteArray(
                   "[\n    {\n        \"detail\": \"no title; the index and feeds would show the page's "
                   "local path instead\",\n        \"kind\": \"no-title\",\n        \"page\": \"a.htm\"\n"
                   "    }\n]\n")
            << 1;
        QTest::newRow("json, nothing found") << QByteArrayList{"b.htm|<title>B</title>"} << QStringList()
                                             << QStringList{"--format", "json"} << QByteArray("[\n]\n") << 0;
    }
    void check() {
        QFETCH(QByteArrayList, files);
        QFETCH(QStringList, locked);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, expected);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QByteArray& entry : files) {
            const qsizetype bar = entry.indexOf('|');
            const QString path = dir.path() + '/' + QString::fromUtf8(entry.left(bar));
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(entry.mid(bar + 1));
        }
        for (const QString& name : locked)
            QVERIFY(QFile::setPermissions(dir.path() + '/' + name, {}));
        if (!locked.isEmpty()) {
            testcaps::FileModesHold modes;
            if (!modes.isValid() || !testcaps::ChildrenCanBeHeld() ||
                testcaps::CanOpen(QFile::encodeName(dir.path() + '/' + locked.first())))
                QSKIP("file modes do not stop this user from reading");
        }
        QProcess process;
        process.setChildProcessModifier([] { testcaps::DropFileOverrideForGood(); });
        const Result r = run(process, PAGEWICK_CLI, QStringList{"check", dir.path()} + options);
        for (const QString& name : locked)
            QFile::setPermissions(dir.path() + '/' + name,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.out, expected);
        QCOMPARE(r.exitCode, exitCode);
    }

    // The output is written again after pages are added, changed and removed, and the command
    // ends cleanly on a signal, leaving no temporary file.
    void watch_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("sub"); // where pages are added, below the watched folder
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("amongPages"); // the output is a page of the watched folder
        QTest::newRow("page, SIGTERM")
            << QStringList{"page", "--title", "T"} << QString() << int(SIGTERM) << false;
        QTest::newRow("rss, SIGINT") << FeedOptions + QStringList{"rss"} << QString() << int(SIGINT) << false;
        QTest::newRow("page, recursive, a new sub-folder")
            << QStringList{"page", "--title", "T", "--recursive"} << u"new/deeper/"_s << int(SIGINT) << false;
        QTest::newRow("atom, SIGTERM")
            << AtomOptions + QStringList{"atom"} << QString() << int(SIGTERM) << false;
        QTest::newRow("page, written among the pages")
            << QStringList{"page", "--title", "T"} << QString() << int(SIGTERM) << true;
    }
    void watch() {
        QFETCH(QStringList, args);
        QFETCH(QString, sub);
        QFETCH(int, signal);
        QFETCH(bool, amongPages);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString site = dir.path() + "/site", out = amongPages ? site : dir.path() + "/out";
        QVERIFY(QDir().mkpath(site) && QDir().mkpath(out));
        const auto put = [&](const QString& name, const QByteArray& bytes) {
            QVERIFY(QDir().mkpath(QFileInfo(site + '/' + name).path()));
            QFile f(site + '/' + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        const auto output = [&] { return read(out + "/index.html"); };
        put("a.htm", "<title>First</title>");

        QProcess process;
        process.start(PAGEWICK_CLI, args + QStringList{site, "-o", out + "/index.html", "--watch"});
        QVERIFY(process.waitForStarted());
        const auto stop = qScopeGuard([&] {
            if (process.state() != QProcess::NotRunning) {
                process.kill();
                process.waitForFinished();
            }
        });
        QTRY_VERIFY_WITH_TIMEOUT(output().contains("First"), 20000);

        put(sub + "b.htm", "<title>Added</title>");
        QTRY_VERIFY_WITH_TIMEOUT(output().contains("Added"), 20000);
        put("a.htm", "<title>Changed</title>");
        // The same bytes again: nothing to write, whenever it is noticed.
        put(sub + "b.htm", "<title>Added</title>");
        QTRY_VERIFY_WITH_TIMEOUT(output().contains("Changed"), 20000);
        QVERIFY(!output().contains("First"));
        QVERIFY(QFile::remove(site + '/' + sub + "b.htm"));
        QTRY_VERIFY_WITH_TIMEOUT(!output().contains("Added"), 20000);
        // A file that is not a page changes nothing.
        put("notes.txt", "x");

        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardError(),
                 QByteArray("pagewick-cli: wrote " + QFile::encodeName(out) + "/index.html\n").repeated(3));
        QStringList left = QDir(out).entryList(QDir::Files | QDir::Hidden);
        left.removeAll("a.htm");
        left.removeAll("notes.txt");
        QCOMPARE(left, QStringList{"index.html"});
    }

    void helpAndVersion_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("start");
        const QByteArray usage = "Usage: pagewick-cli index FOLDER ";
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
        // A private copy of the full device, so the test never opens the machine's own.
        const QString full = root + "/full";
        if (::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0600, makedev(1, 7)) != 0)
            QSKIP("cannot make a private full device here (needs root)");
        QProcess process;
        process.setStandardOutputFile(full);
        const Result r = run(process, PAGEWICK_CLI, expand({"index", "$T/site"}));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith("pagewick-cli: "), r.err.constData());
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
