// Runs the built pagewick-cli and checks its output bytes, files and exit codes.

#include "capabilities.h"
#include "clirun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
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
const QStringList FeedOptions = {u"--feed-title"_s, u"News"_s, u"--site-url"_s, u"http://example.org"_s};
// The "dated" folder: three pages with modification times, newest last by name.
const QStringList AtomOptions = {u"--feed-title"_s,   u"News"_s,       u"--site-url"_s,
                                 u"https://x.org/"_s, u"--feed-url"_s, u"https://x.org/atom.xml"_s};
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

// What watchFollows does to the watched folder once the first output is written.
enum WatchChange { SwitchLink, SwitchLinkWithTemplate, MakeAgain, OpenSubFolder };

// A literal's bytes, NULs included.
template <qsizetype N> QByteArray Bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

    QTemporaryDir temp;
    QString root;

    QByteArray expand(QByteArray text) const { return text.replace("$T", root.toUtf8()); }
    QStringList expand(QStringList args) const {
        for (QString& a : args)
            a.replace(u"$T"_s, root);
        return args;
    }
    void write(const QString& relative, const QByteArray& bytes) {
        QFile f(root + u'/' + relative);
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
        return run(process, QStringLiteral(PAGEWICK_CLI), expand(args));
    }
    // The user's language, as a desktop session sets it, and with readers given, how many
    // threads read pages.
    static QProcessEnvironment inLanguage(const QString& language, const char* readers = nullptr) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LANGUAGE"_s, language);
        if (readers)
            environment.insert(u"PAGEWICK_READERS"_s, QString::fromLatin1(readers));
        return environment;
    }
    Result run(const QStringList& args, const QString& language, const char* readers = nullptr) {
        QProcess process;
        process.setProcessEnvironment(inLanguage(language, readers));
        return run(process, QStringLiteral(PAGEWICK_CLI), expand(args));
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(temp.isValid());
        root = temp.path();
        QDir d(root);
        for (const QString& sub : {u"site"_s, u"empty"_s, u"order"_s, u"order/sub.htm"_s, u"out"_s})
            QVERIFY(d.mkpath(sub));
        write(u"site/a.htm"_s, "<html><head><title>Alpha</title></head><body>A</body></html>");
        write(u"site/b.html"_s, "<html><body>no title here</body></html>");
        write(u"order/B.htm"_s, "<title>Bee</title>");
        write(u"order/a.HTML"_s, "<title>Ay</title>");
        write(u"order/c.htm"_s, "<title>Caf\xc3\xa9</title>");
        write(u"order/.hidden.htm"_s, "<title>Hidden</title>");
        write(u"order/notes.txt"_s, "<title>Notes</title>");
        for (const QString& sub : {u"tree/sub dir/deeper"_s, u"tree/B"_s, u"tree/.hidden"_s})
            QVERIFY(d.mkpath(sub));
        write(u"tree/a.htm"_s, "<title>Alpha</title>");
        write(u"tree/z.htm"_s, "no title");
        write(u"tree/B/y.htm"_s, "<title>Why</title>");
        write(u"tree/sub dir/b.htm"_s, "<title>Bee</title>");
        write(u"tree/sub dir/deeper/c.htm"_s, "<title>Sea</title>");
        write(u"tree/.hidden/x.htm"_s, "<title>Hidden</title>");
        // Titles as a browser finds them, in the order of the reader's language.
        QVERIFY(d.mkpath(u"reader"_s));
        write(u"reader/Zeta.htm"_s, "<!-- <title>Old</title> --><title>New</title>");
        write(u"reader/\u00e9clair.htm"_s, "<script>'<title>x</title>'</script><title>a <b>c</b></title>");
        write(u"reader/late.htm"_s, "<!--" + QByteArray(1100, ' ') +
                                        "--><meta charset=iso-8859-2><title>\xb3\xf3"
                                        "d\xbc</title>");
        QVERIFY(d.mkpath(u"breaks"_s));
        write(u"breaks/a\nb.htm"_s, "<title>AB</title>");
        write(u"breaks/c.htm"_s, "<title>C</title>");
        QVERIFY(d.mkpath(u"long"_s));
        write(u"long/a.htm"_s, "<meta charset=\"utf-8\"><title>" + LongTitle() + "</title>");
        QVERIFY(d.mkpath(u"dated"_s));
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
        QVERIFY(d.mkpath(u"meta"_s));
        write(u"meta/m1.htm"_s,
              "<head><meta name=\"description\" content=\"About &amp;lt;x&gt; &eacute;\">"
              "<meta name=\"date\" content=\"2024-02-03T04:05:06+01:00\"><title>M1</title></head>");
        write(u"meta/m2.htm"_s,
              "<head><meta property=\"article:published_time\" content=\"2023-07-08T09:10:11Z\">"
              "<title>M2</title></head><body><meta name=\"description\" content=\"late\">");
        // Declared dates some format cannot write: the file's time stands in for them everywhere.
        QVERIFY(d.mkpath(u"far"_s));
        const struct {
            const char* name;
            const char* head;
        } far[] = {
            {"normal.htm", "<meta name=\"date\" content=\"2024-01-02\"><title>Normal</title>"},
            {"year1.htm", "<meta name=\"date\" content=\"0001-01-01\"><title>One</title>"},
            {"year10000.htm", "<meta name=\"date\" content=\"9999-12-31T23:59:59-12:00\"><title>Ten</title>"},
        };
        for (const auto& page : far) {
            write(u"far/"_s + QLatin1StringView(page.name), page.head);
            QFile f(root + u"/far/"_s + QLatin1StringView(page.name));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime(QDate(2020, 6, 1), QTime(8, 0), QTimeZone::utc()),
                                  QFileDevice::FileModificationTime));
        }
        // Page templates: a good one in windows-1252, and two that are refused.
        QVERIFY(d.mkpath(u"tpl"_s));
        write(u"tpl/page.html"_s, "<html><head><meta charset=windows-1252><title>{{title}}</title></head>\n"
                                  "<body>{{index}}<p>{{count}} pages \xb7 {{updated}}</p></body></html>\n");
        write(u"tpl/noindex.html"_s, "<h1>{{title}}</h1>");
        write(u"tpl/unknown.html"_s, "<h1>{{title}}</h1>\n{{index}}{{titel}}");
        QCOMPARE(::mkfifo(QFile::encodeName(root + u"/tpl/fifo"_s).constData(), 0600), 0);
        for (const auto& page : dated) {
            write(u"dated/"_s + QLatin1StringView(page.name),
                  QByteArray("<title>") + page.title + "</title>");
            QFile f(root + u"/dated/"_s + QLatin1StringView(page.name));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(page.time, QFileDevice::FileModificationTime));
        }
    }

    void output_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("index") << QStringList{u"index"_s, u"$T/site"_s} << SiteIndex;
        QTest::newRow("index, folder ending in a separator")
            << QStringList{u"index"_s, u"$T/site/"_s} << SiteIndex;
        QTest::newRow("index, folder after --")
            << QStringList{u"index"_s, u"--"_s, u"$T/site"_s} << SiteIndex;
        QTest::newRow("index of an empty folder")
            << QStringList{u"index"_s, u"$T/empty"_s} << QByteArray("<ul>\r\n</ul>");
        QTest::newRow("index, list order and UTF-8")
            << QStringList{u"index"_s, u"$T/order"_s}
            << QByteArray("<ul>\r\n<li><a href=\"a.HTML\">Ay</a>\r\n<li><a href=\"B.htm\">Bee</a>\r\n"
                          "<li><a href=\"c.htm\">Caf\xc3\xa9</a>\r\n</ul>");
        // Output is written in pieces; a character outside the BMP must not be cut in two.
        QTest::newRow("index, long title of characters outside the BMP")
            << QStringList{u"index"_s, u"$T/long"_s}
            << QByteArray("<ul>\r\n<li><a href=\"a.htm\">" + LongTitle() + "</a>\r\n</ul>");
        QTest::newRow("page") << QStringList{u"page"_s, u"$T/site"_s, u"--title"_s, u"My Site"_s} << SitePage;
        QTest::newRow("page, --css") << QStringList{u"page"_s,    u"$T/site"_s, u"--title"_s,
                                                    u"My Site"_s, u"--css"_s,   u"/style.css?v=1&x"_s}
                                     << QByteArray(SitePage).replace(
                                            "<title>",
                                            "<link rel=\"stylesheet\" href=\"/style.css?v=1&amp;x\"><title>");
        QTest::newRow("page, --template")
            << QStringList{u"page"_s,      u"$T/dated"_s, u"--title"_s,    u"A & B"_s,
                           u"--exclude"_s, u"draft*"_s,   u"--template"_s, u"$T/tpl/page.html"_s}
            << QByteArray("<html><head><meta charset=utf-8><title>A &amp; B</title></head>\n<body><ul>\r\n"
                          "<li><a href=\"page10.htm\">Ten</a>\r\n<li><a href=\"page2.htm\">Two</a>\r\n</ul>"
                          "<p>2 pages \xc2\xb7 2024-05-03T07:08:09Z</p></body></html>\n");
        QTest::newRow("page, --template, --css, --details, --sort date")
            << QStringList{u"page"_s,  u"$T/dated"_s,  u"--title"_s,   u"T"_s,          u"--sort"_s,
                           u"date"_s,  u"--details"_s, u"size,date"_s, u"--template"_s, u"$T/tpl/page.html"_s,
                           u"--css"_s, u"s.css"_s}
            << QByteArray(
                   "<html><head><meta charset=utf-8><title>T</title><link rel=\"stylesheet\" href=\"s.css\">"
                   "</head>\n<body><ul>\r\n"
                   "<li><a href=\"draft.htm\">Draft</a> <span class=\"size\">20 bytes</span> "
                   "<time datetime=\"2025-01-01T00:00:00Z\">2025-01-01</time>\r\n"
                   "<li><a href=\"page10.htm\">Ten</a> <span class=\"size\">18 bytes</span> "
                   "<time datetime=\"2024-05-03T07:08:09Z\">2024-05-03</time>\r\n"
                   "<li><a href=\"page2.htm\">Two</a> <span class=\"size\">18 bytes</span> "
                   "<time datetime=\"2023-01-02T03:04:05Z\">2023-01-02</time>\r\n</ul>"
                   "<p>3 pages \xc2\xb7 2025-01-01T00:00:00Z</p></body></html>\n");
        QTest::newRow("index, --details date,description")
            << QStringList{u"index"_s, u"$T/meta"_s, u"--details"_s, u"date,description"_s}
            << QByteArray("<ul>\r\n<li><a href=\"m1.htm\">M1</a> <time "
                          "datetime=\"2024-02-03T03:05:06Z\">2024-02-03</time>"
                          " <span class=\"description\">About &amp;lt;x&gt; \xc3\xa9</span>\r\n"
                          "<li><a href=\"m2.htm\">M2</a> <time "
                          "datetime=\"2023-07-08T09:10:11Z\">2023-07-08</time>\r\n</ul>");
        QTest::newRow("page, options before the folder")
            << QStringList{u"page"_s, u"--title"_s, u"My Site"_s, u"$T/site"_s} << SitePage;
        QTest::newRow("page with an empty title")
            << QStringList{u"page"_s, u"$T/site"_s, u"--title"_s, u""_s}
            << QByteArray("<html><head><meta charset=\"utf-8\"><title></title></head><body><h1></h1>" +
                          SiteIndex + "</body></html>\r\n");
        QTest::newRow("rss") << QStringList{u"rss"_s, u"$T/site"_s} + FeedOptions << SiteFeed;
        QTest::newRow("titles") << QStringList{u"titles"_s, u"$T/site"_s}
                                << QByteArray("a.htm\tAlpha\nb.html\t$T/site/b.html\n");
        QTest::newRow("titles, list order and UTF-8")
            << QStringList{u"titles"_s, u"$T/order"_s}
            << QByteArray("a.HTML\tAy\nB.htm\tBee\nc.htm\tCaf\xc3\xa9\n");
        QTest::newRow("titles of an empty folder") << QStringList{u"titles"_s, u"$T/empty"_s} << QByteArray();
        QTest::newRow("titles -z") << QStringList{u"titles"_s, u"-z"_s, u"$T/site"_s}
                                   << Bytes("a.htm\tAlpha\0b.html\t$T/site/b.html\0");
        QTest::newRow("titles --null, a name holding a line feed")
            << QStringList{u"titles"_s, u"--null"_s, u"$T/breaks"_s} << Bytes("a\nb.htm\tAB\0c.htm\tC\0");
        QTest::newRow("titles as a browser finds them")
            << QStringList{u"titles"_s, u"$T/reader"_s}
            << QByteArray("\xc3\xa9"
                          "clair.htm\ta <b>c</b>\nlate.htm\t\xc5\x82\xc3\xb3"
                          "d\xc5\xba\nZeta.htm\tNew\n");
        QTest::newRow("index, titles as text")
            << QStringList{u"index"_s, u"$T/reader"_s}
            << QByteArray("<ul>\r\n<li><a href=\"%C3%A9clair.htm\">a &lt;b&gt;c&lt;/b&gt;</a>\r\n"
                          "<li><a href=\"late.htm\">\xc5\x82\xc3\xb3"
                          "d\xc5\xba</a>\r\n"
                          "<li><a href=\"Zeta.htm\">New</a>\r\n</ul>");

        QTest::newRow("index, sub-folders left out")
            << QStringList{u"index"_s, u"$T/tree"_s}
            << QByteArray("<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n"
                          "<li><a href=\"z.htm\">$T/tree/z.htm</a>\r\n</ul>");
        QTest::newRow("index, recursive")
            << QStringList{u"index"_s, u"$T/tree"_s, u"--recursive"_s} << TreeIndex;
        QTest::newRow("index, --max-depth 9")
            << QStringList{u"index"_s, u"--max-depth"_s, u"9"_s, u"$T/tree"_s} << TreeIndex;
        QTest::newRow("titles, recursive")
            << QStringList{u"titles"_s, u"--recursive"_s, u"$T/tree"_s}
            << QByteArray("a.htm\tAlpha\nB/y.htm\tWhy\nsub dir/b.htm\tBee\nsub dir/deeper/c.htm\tSea\n"
                          "z.htm\t$T/tree/z.htm\n");
        QTest::newRow("titles, --max-depth 1")
            << QStringList{u"titles"_s, u"--recursive"_s, u"--max-depth"_s, u"1"_s, u"$T/tree"_s}
            << QByteArray("a.htm\tAlpha\nB/y.htm\tWhy\nsub dir/b.htm\tBee\nz.htm\t$T/tree/z.htm\n");
        QTest::newRow("titles, --max-depth 0")
            << QStringList{u"titles"_s, u"--max-depth"_s, u"0"_s, u"$T/tree"_s}
            << QByteArray("a.htm\tAlpha\nz.htm\t$T/tree/z.htm\n");
        QTest::newRow("titles, recursive, --exclude a folder's pages")
            << QStringList{u"titles"_s, u"$T/tree"_s, u"--recursive"_s, u"--exclude"_s, u"sub dir/*"_s}
            << QByteArray("a.htm\tAlpha\nB/y.htm\tWhy\nz.htm\t$T/tree/z.htm\n");
        QTest::newRow("titles, recursive, --exclude a folder, and * within one part")
            << QStringList{u"titles"_s, u"$T/tree"_s,   u"--recursive"_s, u"--exclude"_s,
                           u"b"_s,      u"--exclude"_s, u"*/c.htm"_s}
            << QByteArray(
                   "a.htm\tAlpha\nsub dir/b.htm\tBee\nsub dir/deeper/c.htm\tSea\nz.htm\t$T/tree/z.htm\n");
        QTest::newRow("rss, recursive")
            << QStringList{u"rss"_s, u"$T/tree"_s, u"--recursive"_s} + FeedOptions
            << "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel>\r\n"
               "<title>News</title><link>http://example.org</link><description>News</description>\r\n" +
                   FeedItem("Alpha", "a.htm") + FeedItem("Why", "B/y.htm") +
                   FeedItem("Bee", "sub%20dir/b.htm") + FeedItem("Sea", "sub%20dir/deeper/c.htm") +
                   FeedItem("$T/tree/z.htm", "z.htm") + "</channel></rss>";
        QTest::newRow("check, nothing found")
            << QStringList{u"check"_s, u"$T/order"_s} << QByteArray("Nothing found; 3 pages checked\n");
        // Order and filter, the same for every command that lists pages.
        QTest::newRow("titles, --sort natural")
            << QStringList{u"titles"_s, u"$T/dated"_s, u"--sort"_s, u"natural"_s}
            << QByteArray("draft.htm\tDraft\npage2.htm\tTwo\npage10.htm\tTen\n");
        QTest::newRow("titles, --sort date")
            << QStringList{u"titles"_s, u"$T/dated"_s, u"--sort"_s, u"date"_s}
            << QByteArray("draft.htm\tDraft\npage10.htm\tTen\npage2.htm\tTwo\n");
        QTest::newRow("titles, --sort name and --exclude twice")
            << QStringList{u"titles"_s,    u"$T/dated"_s, u"--sort"_s,    u"name"_s,
                           u"--exclude"_s, u"D*"_s,       u"--exclude"_s, u"*2.htm"_s}
            << QByteArray("page10.htm\tTen\n");
        QTest::newRow("index, --exclude") << QStringList{u"index"_s, u"$T/site"_s, u"--exclude"_s, u"B.*"_s}
                                          << QByteArray("<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n</ul>");
        QTest::newRow("page, --sort natural --exclude")
            << QStringList{u"page"_s,   u"$T/dated"_s, u"--title"_s,   u"T"_s,
                           u"--sort"_s, u"natural"_s,  u"--exclude"_s, u"draft*"_s}
            << QByteArray(
                   "<html><head><meta charset=\"utf-8\"><title>T</title></head><body><h1>T</h1><ul>\r\n"
                   "<li><a href=\"page2.htm\">Two</a>\r\n<li><a href=\"page10.htm\">Ten</a>\r\n"
                   "</ul></body></html>\r\n");
        QTest::newRow("rss, every option")
            << QStringList{u"rss"_s,       u"$T/dated"_s,      u"--feed-title"_s,
                           u"N"_s,         u"--site-url"_s,    u"https://x.org"_s,
                           u"--guid"_s,    u"--feed-url"_s,    u"https://x.org/feed.xml"_s,
                           u"--dates"_s,   u"--description"_s, u"meta"_s,
                           u"--sort"_s,    u"date"_s,          u"--exclude"_s,
                           u"draft.htm"_s, u"--limit"_s,       u"1"_s}
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
            << QStringList{u"rss"_s,          u"$T/site"_s, u"--dates"_s,    u"--limit"_s, u"1"_s,
                           u"--feed-title"_s, u"N"_s,       u"--site-url"_s, u"my site"_s}
            << QByteArray("<?xml version=\"1.0\"?><rss version=\"2.0\"><channel>\r\n<title>N</title>"
                          "<link>my site</link><description>N</description>") +
                   QFileInfo(root + u"/site/a.htm"_s)
                       .lastModified()
                       .toUTC()
                       .toString(u"'<lastBuildDate>'ddd, dd MMM yyyy "
                                 "hh:mm:ss '+0000</lastBuildDate>'")
                       .toUtf8() +
                   "\r\n<item>\r\n<title>Alpha</title>\r\n<description>Alpha</description>\r\n"
                   "<link>my site/a.htm</link>\r\n" +
                   QFileInfo(root + u"/site/a.htm"_s)
                       .lastModified()
                       .toUTC()
                       .toString(u"'<pubDate>'ddd, dd MMM yyyy "
                                 "hh:mm:ss '+0000</pubDate>'")
                       .toUtf8() +
                   "\r\n</item></channel></rss>";
        QTest::newRow("atom, natural order, limit")
            << QStringList{u"atom"_s, u"$T/dated"_s, u"--sort"_s, u"natural"_s, u"--limit"_s, u"2"_s} +
                   AtomOptions
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
            << QStringList{u"rss"_s,        u"$T/meta"_s, u"--feed-title"_s, u"N"_s,
                           u"--site-url"_s, u"u"_s,       u"--dates"_s,      u"--description"_s,
                           u"meta"_s,       u"--sort"_s,  u"date"_s}
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
            << QStringList{u"sitemap"_s, u"$T/meta"_s, u"--site-url"_s, u"https://x.org"_s, u"--lastmod"_s}
            << SitemapHead +
                   "<url><loc>https://x.org/m1.htm</loc><lastmod>2024-02-03T03:05:06Z</lastmod></url>\r\n"
                   "<url><loc>https://x.org/m2.htm</loc><lastmod>2023-07-08T09:10:11Z</lastmod></url>\r\n"
                   "</urlset>";
        QTest::newRow("sitemap") << QStringList{u"sitemap"_s,        u"$T/dated"_s,  u"--site-url"_s,
                                                u"https://x.org/"_s, u"--exclude"_s, u"draft*"_s}
                                 << SitemapHead +
                                        "<url><loc>https://x.org/page10.htm</loc></url>\r\n"
                                        "<url><loc>https://x.org/page2.htm</loc></url>\r\n</urlset>";
        QTest::newRow("sitemap, --lastmod")
            << QStringList{u"sitemap"_s, u"$T/dated"_s, u"--site-url"_s, u"https://x.org"_s, u"--lastmod"_s}
            << SitemapHead +
                   "<url><loc>https://x.org/draft.htm</loc><lastmod>2025-01-01T00:00:00Z</lastmod></url>\r\n"
                   "<url><loc>https://x.org/page10.htm</loc><lastmod>2024-05-03T07:08:09Z</lastmod></url>\r\n"
                   "<url><loc>https://x.org/page2.htm</loc><lastmod>2023-01-02T03:04:05Z</lastmod></"
                   "url>\r\n</urlset>";
        QTest::newRow("titles, --sort date, dates no format can write")
            << QStringList{u"titles"_s, u"$T/far"_s, u"--sort"_s, u"date"_s}
            << QByteArray("normal.htm\tNormal\nyear1.htm\tOne\nyear10000.htm\tTen\n");
        QTest::newRow("sitemap --lastmod, dates no format can write")
            << QStringList{u"sitemap"_s, u"$T/far"_s, u"--site-url"_s, u"https://x.org"_s, u"--lastmod"_s}
            << SitemapHead +
                   "<url><loc>https://x.org/normal.htm</loc><lastmod>2024-01-02T00:00:00Z</lastmod></url>\r\n"
                   "<url><loc>https://x.org/year1.htm</loc><lastmod>2020-06-01T08:00:00Z</lastmod></url>\r\n"
                   "<url><loc>https://x.org/year10000.htm</loc><lastmod>2020-06-01T08:00:00Z</lastmod></"
                   "url>\r\n"
                   "</urlset>";
        QTest::newRow("rss --dates, dates no format can write")
            << QStringList{u"rss"_s, u"$T/far"_s,  u"--feed-title"_s, u"N"_s,         u"--site-url"_s,
                           u"u"_s,   u"--dates"_s, u"--exclude"_s,    u"normal.htm"_s}
            << QByteArray(
                   "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel>\r\n<title>N</title><link>u</link>"
                   "<description>N</description><lastBuildDate>Mon, 01 Jun 2020 08:00:00 +0000"
                   "</lastBuildDate>\r\n"
                   "<item>\r\n<title>One</title>\r\n<description>One</description>\r\n<link>u/year1.htm</"
                   "link>"
                   "\r\n<pubDate>Mon, 01 Jun 2020 08:00:00 +0000</pubDate>\r\n</item>"
                   "<item>\r\n<title>Ten</title>\r\n<description>Ten</description>\r\n"
                   "<link>u/year10000.htm</link>\r\n<pubDate>Mon, 01 Jun 2020 08:00:00 +0000</pubDate>\r\n"
                   "</item></channel></rss>");
    }
    // Every row is run with pages read on the calling thread alone and on several threads: the
    // output is the same byte for byte.
    void output() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, expected);
        // The same bytes in every language the program speaks, and whether one thread reads the
        // pages or several.
        const std::pair<QString, const char*> runs[] = {{u"en"_s, "1"}, {u"de"_s, "3"}, {u"fr"_s, "3"}};
        for (const auto& [language, readers] : runs) {
            const Result r = run(args, language, readers);
            QCOMPARE(r.err, QByteArray());
            QCOMPARE(r.out, expand(expected));
            QCOMPARE(r.exitCode, 0);
        }
    }

    // A folder of many pages of every kind, read by one thread and by several: the same bytes, in
    // the same order, whichever read finished first. Date orders with a limit keep the newest.
    void manyReaders_data() {
        QTest::addColumn<QStringList>("args");
        const QStringList feed = {u"--feed-title"_s, u"N"_s, u"--site-url"_s, u"https://x.org/"_s};
        QTest::newRow("index") << QStringList{u"index"_s, u"--recursive"_s};
        QTest::newRow("page") << QStringList{u"page"_s, u"--title"_s, u"T"_s, u"--sort"_s, u"natural"_s};
        QTest::newRow("titles") << QStringList{u"titles"_s, u"--recursive"_s, u"--sort"_s, u"date"_s};
        QTest::newRow("rss") << QStringList{u"rss"_s, u"--dates"_s, u"--description"_s, u"meta"_s} + feed;
        QTest::newRow("atom") << QStringList{u"atom"_s, u"--feed-url"_s, u"https://x.org/a.xml"_s} + feed;
        QTest::newRow("sitemap") << QStringList{u"sitemap"_s, u"--lastmod"_s, u"--site-url"_s,
                                                u"https://x.org/"_s};
        QTest::newRow("check") << QStringList{u"check"_s, u"--recursive"_s, u"--format"_s, u"json"_s};
    }
    // Pages of every kind, some in a sub-folder: titled, untitled, sharing a title, dated, long.
    QString makeMany() {
        const QString folder = root + u"/many"_s;
        if (!QFileInfo::exists(folder)) {
            QDir().mkpath(folder + u"/sub"_s);
            for (int i = 0; i < 700; ++i) {
                const QByteArray n = QByteArray::number(i);
                QByteArray bytes = i % 7 == 0   ? "<p>no title " + n
                                   : i % 5 == 0 ? "<title>Shared</title>"
                                                : "<meta name=date content=\"2020-01-" +
                                                      QByteArray::number(1 + i % 28) + "\"><title>Page " + n +
                                                      "</title>";
                if (i % 11 == 0)
                    bytes += QByteArray(20000 + i, 'x'); // past the first read
                write(u"many/"_s + (i % 3 ? QString() : u"sub/"_s) + u"p"_s + QString::number(i) + u".htm"_s,
                      bytes);
            }
        }
        return folder;
    }
    void manyReaders() {
        QFETCH(QStringList, args);
        const QString folder = makeMany();
        const Result one = run(args + QStringList{folder}, u"en"_s, "1");
        const Result several = run(args + QStringList{folder}, u"en"_s, "6");
        QCOMPARE(one.err, QByteArray());
        QVERIFY(one.out.size() > 1000);
        QCOMPARE(several.out, one.out);
        QCOMPARE(several.exitCode, one.exitCode);
    }
    void dateOrderLimitKeepsNewest() {
        makeMany();
        const QStringList args = {u"rss"_s,    u"--feed-title"_s, u"N"_s,       u"--site-url"_s, u"u"_s,
                                  u"--sort"_s, u"date"_s,         u"$T/many"_s, u"--recursive"_s};
        const Result all = run(args, u"en"_s, "4");
        const Result newest = run(args + QStringList{u"--limit"_s, u"3"_s}, u"en"_s, "4");
        QCOMPARE(all.exitCode, 0);
        QCOMPARE(newest.exitCode, 0);
        const qsizetype cut = [&] {
            qsizetype at = 0;
            for (int i = 0; i < 3; ++i)
                at = all.out.indexOf("</item>", at) + 7;
            return at;
        }();
        QCOMPARE(newest.out, all.out.first(cut) + "</channel></rss>");
    }

    void outputFile_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("oldContent"); // empty: no file there before
        QTest::addColumn<QByteArray>("expected");

        const QStringList page = {u"page"_s, u"$T/site"_s, u"--title"_s, u"My Site"_s};
        QTest::newRow("page, new file")
            << page + QStringList{u"-o"_s, u"$T/out/target"_s} << QByteArray() << SitePage;
        QTest::newRow("page replaces a longer file")
            << page + QStringList{u"-o"_s, u"$T/out/target"_s} << QByteArray(5000, 'x') << SitePage;
        QTest::newRow("page, --output")
            << page + QStringList{u"--output"_s, u"$T/out/target"_s} << QByteArray("old") << SitePage;
        QTest::newRow("rss, text as it is")
            << QStringList{u"rss"_s, u"$T/site"_s, u"-o"_s, u"$T/out/target"_s} + FeedOptions
            << QByteArray("old") << SiteFeed;
        QTest::newRow("index") << QStringList{u"index"_s, u"$T/site"_s, u"-o"_s, u"$T/out/target"_s}
                               << QByteArray("old") << SiteIndex;
        QTest::newRow("sitemap")
            << QStringList{u"sitemap"_s,      u"$T/site"_s, u"--site-url"_s,
                           u"http://x.org"_s, u"-o"_s,      u"$T/out/target"_s}
            << QByteArray()
            << SitemapHead +
                   "<url><loc>http://x.org/a.htm</loc></url>\r\n<url><loc>http://x.org/b.html</loc></url>"
                   "\r\n</urlset>";
    }
    void outputFile() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, oldContent);
        QFETCH(QByteArray, expected);
        const QString target = root + u"/out/target"_s;
        QFile::remove(target);
        if (!oldContent.isEmpty())
            write(u"out/target"_s, oldContent);
        const Result r = run(args);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(read(target), expand(expected));
        QCOMPARE(QDir(root + u"/out"_s).entryList(QDir::Files | QDir::Hidden), QStringList{u"target"_s});
    }

    // -o naming a file the program was handed open (through a link, or another spelling) writes
    // into that descriptor at its position, as a shell redirection would, and keeps what the file
    // held. The script runs as sh -c SCRIPT sh CLI SITE DIR; "log" in DIR starts as "old\n".
    void ownStreams_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("log"); // what DIR/log holds afterwards
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("error"); // in what the command says; empty: it says nothing
        const QByteArray old = "old\n";
        QTest::newRow("-o /dev/stderr, standard error appended to the file")
            << uR"("$1" index "$2" -o /dev/stderr 2>>"$3/log")"_s << old + SiteIndex << 0 << QByteArray();
        QTest::newRow("-o //dev/stdout between two lines of a group")
            << uR"({ echo HEADER; "$1" index "$2" -o //dev/stdout; echo TRAILER; } >"$3/log")"_s
            << "HEADER\n" + SiteIndex + "TRAILER\n"
            << 0 << QByteArray();
        QTest::newRow("-o FILE, the file appended to as standard output")
            << uR"("$1" rss "$2" --feed-title News --site-url http://example.org -o "$3/log" >>"$3/log")"_s
            << old + SiteFeed << 0 << QByteArray();
        QTest::newRow("-o /dev/fd/3, open to append")
            << uR"("$1" page "$2" --title "My Site" -o /dev/fd/3 3>>"$3/log")"_s << old + SitePage << 0
            << QByteArray();
        QTest::newRow("-o a link to the file standard error appends to")
            << uR"(ln -s log "$3/link" && "$1" index "$2" -o "$3/link" 2>>"$3/log")"_s << old + SiteIndex << 0
            << QByteArray();
        QTest::newRow("-o FILE read as standard input: replaced")
            << uR"("$1" index "$2" -o "$3/log" <"$3/log")"_s << SiteIndex << 0 << QByteArray();
        QTest::newRow("standard output closed")
            << uR"("$1" titles "$2" >&-)"_s << old << 1
            << QByteArray("cannot write to standard output: Bad file descriptor");
        QTest::newRow("-o - with standard output closed")
            << uR"("$1" index "$2" -o - >&-)"_s << old << 1
            << QByteArray("cannot write to standard output: Bad file descriptor");
        QTest::newRow("a folder whose name holds a %2, named as it is")
            << uR"("$1" index "$2/no%2such")"_s << old << 1
            << QByteArray("/site/no%2such\": No such file or directory\n");
    }
    void ownStreams() {
        QFETCH(QString, script);
        QFETCH(QByteArray, log);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, error);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile start(dir.filePath(u"log"_s));
        QVERIFY(start.open(QIODevice::WriteOnly) && start.write("old\n") == 4);
        start.close();
        QProcess process;
        const Result r =
            run(process, u"/bin/sh"_s,
                {u"-c"_s, script, u"sh"_s, QStringLiteral(PAGEWICK_CLI), root + u"/site"_s, dir.path()});
        QCOMPARE(read(dir.filePath(u"log"_s)), expand(log));
        QCOMPARE(r.exitCode, exitCode);
        if (error.isEmpty())
            QCOMPARE(r.err, QByteArray());
        else
            QVERIFY2(r.err.contains(error), r.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(u"log"_s).size(), 1);
    }

    // The sitemaps.org protocol's limits: URLs shorter than 2,048 characters, at most 50 MB. Past
    // them nothing is written; up to them the sitemap is.
    void sitemapLimits_data() {
        QTest::addColumn<int>("pages");     // named p00000.htm on
        QTest::addColumn<int>("urlLength"); // of every page's address
        QTest::addColumn<int>("exitCode");
        QTest::newRow("addresses of 2,047 characters") << 100 << 2047 << 0;
        QTest::newRow("over 50 MB") << 26000 << 2047 << 1;
    }
    void sitemapLimits() {
        QFETCH(int, pages);
        QFETCH(int, urlLength);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray folder = QFile::encodeName(dir.path()) + "/site";
        QCOMPARE(::mkdir(folder.constData(), 0755), 0);
        for (int i = 0; i < pages; ++i) {
            const QByteArray name = folder + "/p" + QByteArray::number(i).rightJustified(5, '0') + ".htm";
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        const QString site = u"https://e.org/"_s + QString(urlLength - 14 - 1 - 10, u'x') + u'/';
        const QString out = dir.filePath(u"sitemap.xml"_s);
        const Result r = run({u"sitemap"_s, QFile::decodeName(folder), u"--site-url"_s, site, u"-o"_s, out});
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(QFileInfo::exists(out), exitCode == 0);
        if (exitCode == 0) {
            QCOMPARE(r.err, QByteArray());
            QVERIFY(read(out).contains("<loc>" + site.toUtf8() + "p00099.htm</loc>"));
        } else {
            QVERIFY2(r.err.startsWith("pagewick-cli: cannot build the sitemap: "), r.err.constData());
        }
    }

    // Every failure leaves the output file alone: an existing one byte for byte, a new one not made.
    void failure_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("no arguments") << QStringList{} << 2;
        QTest::newRow("unknown command") << QStringList{u"list"_s, u"$T/site"_s} << 2;
        QTest::newRow("folder missing from the command line") << QStringList{u"index"_s} << 2;
        QTest::newRow("extra argument") << QStringList{u"index"_s, u"$T/site"_s, u"$T/site"_s} << 2;
        QTest::newRow("unknown option") << QStringList{u"index"_s, u"$T/site"_s, u"--bogus"_s} << 2;
        QTest::newRow("page without --title")
            << QStringList{u"page"_s, u"$T/site"_s, u"-o"_s, u"$T/out/keep"_s} << 2;
        QTest::newRow("page, --title without its value")
            << QStringList{u"page"_s, u"$T/site"_s, u"--title"_s} << 2;
        QTest::newRow("rss without --site-url")
            << QStringList{u"rss"_s, u"$T/site"_s, u"--feed-title"_s, u"F"_s, u"-o"_s, u"$T/out/new"_s} << 2;
        QTest::newRow("rss without --feed-title")
            << QStringList{u"rss"_s, u"$T/site"_s, u"--site-url"_s, u"http://x/"_s, u"-o"_s, u"$T/out/keep"_s}
            << 2;
        QTest::newRow("titles does not write files")
            << QStringList{u"titles"_s, u"$T/site"_s, u"-o"_s, u"$T/out/new"_s} << 2;
        QTest::newRow("titles takes no title")
            << QStringList{u"titles"_s, u"$T/site"_s, u"--title"_s, u"T"_s} << 2;
        QTest::newRow("--max-depth is not a number")
            << QStringList{u"index"_s, u"$T/site"_s, u"--max-depth"_s, u"x"_s} << 2;
        QTest::newRow("--max-depth below 0")
            << QStringList{u"titles"_s, u"$T/site"_s, u"--max-depth"_s, u"-1"_s} << 2;
        QTest::newRow("--format is for check")
            << QStringList{u"index"_s, u"$T/site"_s, u"--format"_s, u"json"_s} << 2;
        QTest::newRow("check, unknown --format")
            << QStringList{u"check"_s, u"$T/site"_s, u"--format"_s, u"xml"_s} << 2;
        QTest::newRow("check does not write files")
            << QStringList{u"check"_s, u"$T/site"_s, u"-o"_s, u"$T/out/new"_s} << 2;
        QTest::newRow("--watch without -o")
            << QStringList{u"page"_s, u"$T/site"_s, u"--title"_s, u"T"_s, u"--watch"_s} << 2;
        QTest::newRow("--watch on standard output")
            << QStringList{u"page"_s, u"$T/site"_s, u"--title"_s, u"T"_s, u"-o"_s, u"-"_s, u"--watch"_s} << 2;
        QTest::newRow("index does not watch") << QStringList{u"index"_s, u"$T/site"_s, u"--watch"_s} << 2;
        QTest::newRow("--watch onto standard error")
            << QStringList{u"page"_s, u"$T/site"_s,     u"--title"_s, u"T"_s,
                           u"-o"_s,   u"/dev/stderr"_s, u"--watch"_s}
            << 2;
        QTest::newRow("--details, unknown")
            << QStringList{u"index"_s, u"$T/site"_s, u"--details"_s, u"date,colour"_s} << 2;
        QTest::newRow("--details, twice")
            << QStringList{u"index"_s, u"$T/site"_s, u"--details"_s, u"size,size"_s} << 2;
        QTest::newRow("--details, empty")
            << QStringList{u"index"_s, u"$T/site"_s, u"--details"_s, u""_s} << 2;
        QTest::newRow("titles takes no --details")
            << QStringList{u"titles"_s, u"$T/site"_s, u"--details"_s, u"date"_s} << 2;
        QTest::newRow("index takes no --template")
            << QStringList{u"index"_s, u"$T/site"_s, u"--template"_s, u"$T/tpl/page.html"_s} << 2;
        QTest::newRow("index takes no --css")
            << QStringList{u"index"_s, u"$T/site"_s, u"--css"_s, u"s.css"_s} << 2;
        const QStringList page = {u"page"_s, u"$T/site"_s, u"--title"_s, u"T"_s, u"-o"_s, u"$T/out/keep"_s};
        QTest::newRow("template missing") << page + QStringList{u"--template"_s, u"$T/tpl/none.html"_s} << 2;
        QTest::newRow("template is a folder") << page + QStringList{u"--template"_s, u"$T/tpl"_s} << 2;
        QTest::newRow("template is a FIFO, not waited on")
            << page + QStringList{u"--template"_s, u"$T/tpl/fifo"_s} << 2;
        QTest::newRow("template without {{index}}")
            << page + QStringList{u"--template"_s, u"$T/tpl/noindex.html"_s} << 2;
        QTest::newRow("template, unknown placeholder")
            << page + QStringList{u"--template"_s, u"$T/tpl/unknown.html"_s} << 2;
        QTest::newRow("check of a missing folder") << QStringList{u"check"_s, u"$T/missing"_s} << 1;
        QTest::newRow("watch, first write fails")
            << QStringList{u"page"_s, u"$T/site"_s,         u"--title"_s, u"T"_s,
                           u"-o"_s,   u"$T/out/keep/new"_s, u"--watch"_s}
            << 1;
        // Option values, and options a command does not take.
        const QStringList rss = QStringList{u"rss"_s, u"$T/site"_s, u"-o"_s, u"$T/out/keep"_s} + FeedOptions;
        QTest::newRow("--sort, unknown order") << rss + QStringList{u"--sort"_s, u"size"_s} << 2;
        QTest::newRow("--sort, letter case") << rss + QStringList{u"--sort"_s, u"Date"_s} << 2;
        QTest::newRow("--limit 0") << rss + QStringList{u"--limit"_s, u"0"_s} << 2;
        QTest::newRow("--limit -1") << rss + QStringList{u"--limit"_s, u"-1"_s} << 2;
        QTest::newRow("--limit, not a number") << rss + QStringList{u"--limit"_s, u"ten"_s} << 2;
        QTest::newRow("--limit, empty") << rss + QStringList{u"--limit"_s, u""_s} << 2;
        QTest::newRow("--description, unknown") << rss + QStringList{u"--description"_s, u"body"_s} << 2;
        QTest::newRow("--exclude, unclosed set") << rss + QStringList{u"--exclude"_s, u"[a"_s} << 2;
        QTest::newRow("--exclude, empty") << rss + QStringList{u"--exclude"_s, u""_s} << 2;
        QTest::newRow("index takes no --limit")
            << QStringList{u"index"_s, u"$T/site"_s, u"--limit"_s, u"1"_s} << 2;
        QTest::newRow("index takes no --guid") << QStringList{u"index"_s, u"$T/site"_s, u"--guid"_s} << 2;
        QTest::newRow("sitemap takes no --sort")
            << QStringList{u"sitemap"_s,      u"$T/site"_s, u"--site-url"_s,
                           u"http://x.org"_s, u"--sort"_s,  u"date"_s}
            << 2;
        QTest::newRow("atom takes no --dates")
            << QStringList{u"atom"_s, u"$T/site"_s, u"--dates"_s} + AtomOptions << 2;
        QTest::newRow("rss takes no --lastmod") << rss + QStringList{u"--lastmod"_s} << 2;
        // Addresses that get published must be web addresses.
        QTest::newRow("rss --guid, free-text site")
            << QStringList{u"rss"_s,        u"$T/site"_s,     u"--feed-title"_s, u"F"_s,
                           u"--site-url"_s, u"example.org"_s, u"--guid"_s}
            << 2;
        QTest::newRow("rss --feed-url, relative")
            << QStringList{u"rss"_s,        u"$T/site"_s,      u"--feed-title"_s, u"F"_s,
                           u"--site-url"_s, u"http://x.org"_s, u"--feed-url"_s,   u"f.xml"_s}
            << 2;
        QTest::newRow("rss --feed-url, empty") << rss + QStringList{u"--feed-url"_s, u""_s} << 2;
        QTest::newRow("atom without --feed-url")
            << QStringList{u"atom"_s,       u"$T/site"_s,      u"--feed-title"_s, u"F"_s,
                           u"--site-url"_s, u"http://x.org"_s, u"-o"_s,           u"$T/out/new"_s}
            << 2;
        QTest::newRow("atom, ftp site")
            << QStringList{u"atom"_s,       u"$T/site"_s,     u"--feed-title"_s, u"F"_s,
                           u"--site-url"_s, u"ftp://x.org"_s, u"--feed-url"_s,   u"http://x.org/a.xml"_s}
            << 2;
        // A page's path put after a query or a fragment would land in it.
        QTest::newRow("sitemap, site address with a query")
            << QStringList{u"sitemap"_s, u"$T/site"_s,    u"--site-url"_s, u"https://e.org/?q=1"_s,
                           u"-o"_s,      u"$T/out/keep"_s}
            << 2;
        QTest::newRow("atom, site address with a fragment")
            << QStringList{u"atom"_s,         u"$T/site"_s,
                           u"--feed-title"_s, u"F"_s,
                           u"--site-url"_s,   u"https://e.org/#a"_s,
                           u"--feed-url"_s,   u"https://e.org/a.xml"_s}
            << 2;
        QTest::newRow("rss --guid, site address with an empty fragment")
            << QStringList{u"rss"_s,        u"$T/site"_s,       u"--feed-title"_s, u"F"_s,
                           u"--site-url"_s, u"http://e.org#"_s, u"--guid"_s}
            << 2;
        QTest::newRow("sitemap, an address of 2,048 characters")
            << QStringList{u"sitemap"_s,    u"$T/site"_s,
                           u"--site-url"_s, u"http://e.org/"_s + QString(2048 - 13 - 6, u'x') + u'/',
                           u"-o"_s,         u"$T/out/keep"_s}
            << 1;
        QTest::newRow("sitemap without --site-url")
            << QStringList{u"sitemap"_s, u"$T/site"_s, u"-o"_s, u"$T/out/keep"_s} << 2;
        QTest::newRow("sitemap, no scheme")
            << QStringList{u"sitemap"_s, u"$T/site"_s, u"--site-url"_s, u"x.org"_s, u"-o"_s, u"$T/out/keep"_s}
            << 2;
        QTest::newRow("sitemap, folder does not exist")
            << QStringList{u"sitemap"_s,      u"$T/missing"_s, u"--site-url"_s,
                           u"http://x.org"_s, u"-o"_s,         u"$T/out/keep"_s}
            << 1;
        QTest::newRow("folder does not exist")
            << QStringList{u"page"_s, u"$T/missing"_s, u"--title"_s, u"T"_s, u"-o"_s, u"$T/out/keep"_s} << 1;
        QTest::newRow("folder is a file")
            << QStringList{u"rss"_s, u"$T/site/a.htm"_s, u"-o"_s, u"$T/out/new"_s} + FeedOptions << 1;
        QTest::newRow("page, output under a regular file")
            << QStringList{u"page"_s, u"$T/site"_s, u"--title"_s, u"T"_s, u"-o"_s, u"$T/out/keep/new"_s} << 1;
        QTest::newRow("rss, output under a regular file")
            << QStringList{u"rss"_s, u"$T/site"_s, u"-o"_s, u"$T/out/keep/new"_s} + FeedOptions << 1;
    }
    void failure() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFile::remove(root + u"/out/target"_s);
        write(u"out/keep"_s, "old page\r\n");
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
        QCOMPARE(read(root + u"/out/keep"_s), QByteArray("old page\r\n"));
        QCOMPARE(QDir(root + u"/out"_s).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"keep"_s});
    }

    // A command line with mistakes is checked whole before anything is read: the first mistake met
    // (the command and folder, then which options the command takes, then their values in the
    // order of the help) is named, on the line before the usage.
    void usageMessage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no command") << QStringList{} << QByteArray("no command given");
        QTest::newRow("unknown command, before its options")
            << QStringList{u"list"_s, u"$T/site"_s, u"--limit"_s, u"0"_s}
            << QByteArray("unknown command \"list\"");
        QTest::newRow("folder missing") << QStringList{u"index"_s} << QByteArray("index: FOLDER is missing");
        QTest::newRow("a missing option, before a wrong value")
            << QStringList{u"rss"_s, u"$T/site"_s, u"--site-url"_s, u"http://x.org"_s, u"--sort"_s, u"size"_s}
            << QByteArray("rss: --feed-title TEXT is missing");
        QTest::newRow("atom's feed address is required")
            << QStringList{u"atom"_s, u"$T/site"_s,    u"--feed-title"_s,
                           u"F"_s,    u"--site-url"_s, u"http://x.org"_s}
            << QByteArray("atom: --feed-url URL is missing");
        QTest::newRow("an option the command does not take, named long")
            << QStringList{u"titles"_s, u"$T/site"_s, u"-o"_s, u"x"_s}
            << QByteArray("titles does not take --output");
        QTest::newRow("--sort before --limit")
            << QStringList{u"rss"_s, u"$T/site"_s, u"--limit"_s, u"0"_s, u"--sort"_s, u"size"_s} + FeedOptions
            << QByteArray("rss: --sort takes name, natural or date, not \"size\"");
        QTest::newRow("--limit before --description")
            << QStringList{u"rss"_s, u"$T/site"_s, u"--description"_s, u"body"_s, u"--limit"_s, u"+3"_s} +
                   FeedOptions
            << QByteArray("rss: --limit takes a whole number from 1 up, not \"+3\"");
        QTest::newRow("the site address before --max-depth")
            << QStringList{u"sitemap"_s, u"$T/site"_s, u"--site-url"_s, u"x.org"_s, u"--max-depth"_s, u"x"_s}
            << QByteArray("sitemap: the site address \"x.org\" is not an absolute http or https address");
        QTest::newRow("--max-depth before --details")
            << QStringList{u"index"_s, u"$T/site"_s, u"--details"_s, u"colour"_s, u"--max-depth"_s, u"-1"_s}
            << QByteArray("index: --max-depth takes a whole number, 0 or more");
        QTest::newRow("--watch before the template")
            << QStringList{u"page"_s,       u"$T/site"_s,          u"--title"_s, u"T"_s,
                           u"--template"_s, u"$T/tpl/none.html"_s, u"--watch"_s}
            << QByteArray("page: --watch needs -o FILE");
        QTest::newRow("check, --format") << QStringList{u"check"_s, u"$T/site"_s, u"--format"_s, u"xml"_s}
                                         << QByteArray("check: --format takes text or json, not \"xml\"");
    }
    void usageMessage() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, message);
        const Result r = run(args);
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.err.left(r.err.indexOf('\n') + 1), "pagewick-cli: " + message + '\n');
        QVERIFY2(r.err.contains("\nUsage: pagewick-cli index FOLDER "), r.err.constData());
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
        QTest::newRow("a title never closed, one of an icon, one of references to whitespace")
            << QByteArrayList{"a.htm|<title>Left open", "b.htm|<body><svg><title>Icon</title></svg>",
                              "c.htm|<title>&#9;&#32;</title>"}
            << QStringList() << QStringList()
            << "a.htm: the title is never closed; the index and feeds would show all the text after <title> "
               "to the end of the page\n"
               "b.htm" +
                   noTitle +
                   "c.htm: the title is empty; the index and feeds would show the page's local path instead\n"
                   "3 findings; 3 pages checked\n"
            << 1;
        QTest::newRow("pages that share a title are one finding")
            << QByteArrayList{"a.htm|<title>Home</title>",
                              "b.htm|<title>Home</title>",
                              "sub/c.htm|<title>H&#111;me</title>",
                              "d.htm|<title>home</title>",
                              "e.htm|<title>Other</title>",
                              "f.htm|<title>Other</title>",
                              "g.htm|<p>none"}
            << QStringList() << QStringList{u"--recursive"_s}
            << "g.htm" + noTitle +
                   "3 pages share the title \"Home\":\n  a.htm\n  b.htm\n  sub/c.htm\n"
                   "2 pages share the title \"Other\":\n  e.htm\n  f.htm\n"
                   "3 findings; 7 pages checked\n"
            << 1;
        QTest::newRow("names with line feeds, tabs and backslashes are escaped")
            << QByteArrayList{"a\nb.htm|<title>T</title>", "c\td.htm|<title>T</title>", "e\\n.htm|<p>none",
                              "f\rg.htm|<title>U</title>", "plain.htm|<title>U</title>"}
            << QStringList() << QStringList()
            << "e\\\\n.htm" + noTitle +
                   "2 pages share the title \"T\":\n  a\\nb.htm\n  c\\td.htm\n"
                   "2 pages share the title \"U\":\n  f\\rg.htm\n  plain.htm\n"
                   "3 findings; 5 pages checked\n"
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
        // Stretches of a page that cannot hold a title's start tag are not tokenized, but their
        // bytes are still held to the encoding, and one read again for a late title is not
        // looked at twice.
        const QByteArray bodyStart = "<meta charset=utf-8></head><body>";
        QTest::newRow("long stretches past the head")
            << QByteArrayList{"a.htm|" + bodyStart + QByteArray(10000, 'x') + "\xff" +
                                  QByteArray(10000, 'x') + "<title>Late</title>" + QByteArray(5000, 'x'),
                              "b.htm|<meta charset=utf-8><body>" + QByteArray(25000, 'y') + "\xff",
                              "c.htm|<meta charset=latin1><body>" + QByteArray(40000 - 27, 'z') +
                                  "<title>C</title>" + QByteArray(65535 - 40016, 'z') + "\xc3\xa9" +
                                  QByteArray(3000, 'z')}
            << QStringList() << QStringList()
            << "a.htm: declared as UTF-8, but the byte at offset " +
                   QByteArray::number(bodyStart.size() + 10000) + " is not valid UTF-8\nb.htm" + noTitle +
                   "b.htm: declared as UTF-8, but the byte at offset 25026 is not valid UTF-8\n"
                   "c.htm: declares windows-1252, but its bytes are UTF-8; its text would show garbled\n"
                   "4 findings; 3 pages checked\n"
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
        // Past the first 1,024 bytes, a meta element of the head, before the title or after it,
        // still declares the encoding; one after an element of the body does not.
        const QByteArray late = "<!--" + QByteArray(1100, 'x') + "-->";
        QTest::newRow("a late meta charset")
            << QByteArrayList{"a.htm|" + late + "<meta charset=\"utf-8\"><title>A</title>caf\xe9",
                              "b.htm|" + late + "<meta charset=\"latin1\"><title>Caf\xc3\xa9</title>",
                              "c.htm|" + late + "<title>C</title><meta charset=\"utf-8\">caf\xe9",
                              "d.htm|\xef\xbb\xbf" + late + "<meta charset=\"koi8-r\"><title>D</title>",
                              "e.htm|<p>" + late + "<meta charset=\"utf-8\"><title>E</title>caf\xe9"}
            << QStringList() << QStringList()
            << "a.htm: declared as UTF-8, but the byte at offset " + QByteArray::number(late.size() + 41) +
                   " is not valid UTF-8\n"
                   "b.htm: declares windows-1252, but its bytes are UTF-8; its text would show garbled\n"
                   "c.htm: declared as UTF-8, but the byte at offset " +
                   QByteArray::number(late.size() + 41) +
                   " is not valid UTF-8\n"
                   "d.htm: starts with a UTF-8 byte-order mark but declares KOI8-R; browsers follow the "
                   "mark\n"
                   "4 findings; 5 pages checked\n"
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
            << QByteArrayList{"a.htm|<title>A</title>", "b.htm|<title>B</title>"} << QStringList{u"b.htm"_s}
            << QStringList()
            << QByteArray("b.htm: cannot be read (Permission denied)\n1 finding; 2 pages checked\n") << 1;
        QTest::newRow("a sub-folder that cannot be read")
            << QByteArrayList{"a.htm|<title>A</title>", "shut/b.htm|<title>B</title>"}
            << QStringList{u"shut"_s} << QStringList{u"--recursive"_s}
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
            << QStringList{u"--format"_s, u"json"_s}
            << QByteArray(
                   "[\n    {\n        \"detail\": \"no title; the index and feeds would show the page's "
                   "local path instead\",\n        \"kind\": \"no-title\",\n        \"page\": \"a.htm\"\n"
                   "    }\n]\n")
            << 1;
        QTest::newRow("json, pages that share a title")
            << QByteArrayList{"a\nb.htm|<title>T &amp; U</title>", "b.htm|<title>T &amp; U</title>",
                              "c.htm|<title>C</title>"}
            << QStringList() << QStringList{u"--format"_s, u"json"_s}
            << QByteArray(
                   "[\n    {\n        \"detail\": \"2 pages share the title \\\"T & U\\\"\",\n"
                   "        \"kind\": \"duplicate-title\",\n        \"page\": \"a\\nb.htm\",\n"
                   "        \"pages\": [\n            \"a\\nb.htm\",\n            \"b.htm\"\n        ],\n"
                   "        \"title\": \"T & U\"\n    }\n]\n")
            << 1;
        QTest::newRow("json, nothing found")
            << QByteArrayList{"b.htm|<title>B</title>"} << QStringList()
            << QStringList{u"--format"_s, u"json"_s} << QByteArray("[\n]\n") << 0;
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
            const QString path = dir.path() + u'/' + QString::fromUtf8(entry.left(bar));
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(entry.mid(bar + 1));
        }
        for (const QString& name : locked)
            QVERIFY(QFile::setPermissions(dir.path() + u'/' + name, {}));
        if (!locked.isEmpty()) {
            testcaps::FileModesHold modes;
            if (!modes.isValid() || !testcaps::ChildrenCanBeHeld() ||
                testcaps::CanOpen(QFile::encodeName(dir.path() + u'/' + locked.first())))
                QSKIP("file modes do not stop this user from reading");
        }
        // The same report in every language the program speaks, and whether one thread reads the
        // pages or several.
        QList<Result> results;
        const std::pair<QString, const char*> runs[] = {{u"en"_s, "1"}, {u"de"_s, "4"}, {u"fr"_s, "4"}};
        for (const auto& [language, readers] : runs) {
            QProcess process;
            process.setChildProcessModifier([] { testcaps::DropFileOverrideForGood(); });
            process.setProcessEnvironment(inLanguage(language, readers));
            results << run(process, QStringLiteral(PAGEWICK_CLI),
                           QStringList{u"check"_s, dir.path()} + options);
        }
        for (const QString& name : locked)
            QFile::setPermissions(dir.path() + u'/' + name,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const Result& r : results) {
            QCOMPARE(r.err, QByteArray());
            QCOMPARE(r.out, expected);
            QCOMPARE(r.exitCode, exitCode);
        }
    }

    // The output is written again after pages are added, changed and removed, and the command
    // ends cleanly on a signal, leaving no temporary file.
    void watch_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("sub"); // where pages are added, below the watched folder
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("amongPages"); // the output is a page of the watched folder
        QTest::newRow("page, SIGTERM")
            << QStringList{u"page"_s, u"--title"_s, u"T"_s} << QString() << int(SIGTERM) << false;
        QTest::newRow("rss, SIGINT") << FeedOptions + QStringList{u"rss"_s} << QString() << int(SIGINT)
                                     << false;
        QTest::newRow("page, recursive, a new sub-folder")
            << QStringList{u"page"_s, u"--title"_s, u"T"_s, u"--recursive"_s} << u"new/deeper/"_s
            << int(SIGINT) << false;
        QTest::newRow("atom, SIGTERM")
            << AtomOptions + QStringList{u"atom"_s} << QString() << int(SIGTERM) << false;
        QTest::newRow("page, written among the pages")
            << QStringList{u"page"_s, u"--title"_s, u"T"_s} << QString() << int(SIGTERM) << true;
    }
    void watch() {
        QFETCH(QStringList, args);
        QFETCH(QString, sub);
        QFETCH(int, signal);
        QFETCH(bool, amongPages);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString site = dir.path() + u"/site"_s, out = amongPages ? site : dir.path() + u"/out"_s;
        QVERIFY(QDir().mkpath(site) && QDir().mkpath(out));
        const auto put = [&](const QString& name, const QByteArray& bytes) {
            QVERIFY(QDir().mkpath(QFileInfo(site + u'/' + name).path()));
            QFile f(site + u'/' + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        const auto output = [&] { return read(out + u"/index.html"_s); };
        put(u"a.htm"_s, "<title>First</title>");

        QProcess process;
        process.start(QStringLiteral(PAGEWICK_CLI),
                      args + QStringList{site, u"-o"_s, out + u"/index.html"_s, u"--watch"_s});
        QVERIFY(process.waitForStarted());
        const auto stop = qScopeGuard([&] {
            if (process.state() != QProcess::NotRunning) {
                process.kill();
                process.waitForFinished();
            }
        });
        QTRY_VERIFY_WITH_TIMEOUT(output().contains("First"), 20000);

        put(sub + u"b.htm"_s, "<title>Added</title>");
        QTRY_VERIFY_WITH_TIMEOUT(output().contains("Added"), 20000);
        put(u"a.htm"_s, "<title>Changed</title>");
        // The same bytes again: nothing to write, whenever it is noticed.
        put(sub + u"b.htm"_s, "<title>Added</title>");
        QTRY_VERIFY_WITH_TIMEOUT(output().contains("Changed"), 20000);
        QVERIFY(!output().contains("First"));
        QVERIFY(QFile::remove(site + u'/' + sub + u"b.htm"_s));
        QTRY_VERIFY_WITH_TIMEOUT(!output().contains("Added"), 20000);
        // A file that is not a page changes nothing.
        put(u"notes.txt"_s, "x");

        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardError(),
                 QByteArray("pagewick-cli: wrote " + QFile::encodeName(out) + "/index.html\n").repeated(3));
        QStringList left = QDir(out).entryList(QDir::Files | QDir::Hidden);
        left.removeAll(u"a.htm"_s);
        left.removeAll(u"notes.txt"_s);
        QCOMPARE(left, QStringList{u"index.html"_s});
    }

    // A template that cannot make a page is named, with the line at fault.
    void templateProblem_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("language"); // LANGUAGE
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("unknown placeholder")
            << u"unknown.html"_s << u"en"_s
            << QByteArray("/tpl/unknown.html\": line 2: unknown placeholder {{titel}}");
        QTest::newRow("unknown placeholder, German")
            << u"unknown.html"_s << u"de"_s
            << QByteArray("/tpl/unknown.html\xe2\x80\x9c: Zeile 2: unbekannter Platzhalter {{titel}}");
        QTest::newRow("no index") << u"noindex.html"_s << u"en"_s
                                  << QByteArray("/tpl/noindex.html\": there is no {{index}}");
        QTest::newRow("no index, French") << u"noindex.html"_s << u"fr"_s
                                          << QByteArray("/tpl/noindex.html\xc2\xa0\xc2\xbb\xc2\xa0: il n'y a "
                                                        "pas de {{index}}");
        QTest::newRow("missing") << u"none.html"_s << u"en"_s
                                 << QByteArray("/tpl/none.html\": No such file or directory");
    }
    void templateProblem() {
        QFETCH(QString, file);
        QFETCH(QString, language);
        QFETCH(QByteArray, message);
        const Result r = run(
            {u"page"_s, u"$T/site"_s, u"--title"_s, u"T"_s, u"--template"_s, u"$T/tpl/"_s + file}, language);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.startsWith("pagewick-cli: page: ") && r.err.contains(message), r.err.constData());
    }

    // With --watch, a change to the template builds the page again, also when an editor puts a new
    // file in its place; a template that no longer makes a page writes nothing until it is mended.
    void watchTemplate() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString site = dir.path() + u"/site"_s, out = dir.path() + u"/out/index.html"_s;
        const QString templateFile = dir.path() + u"/t/page.html"_s;
        QVERIFY(QDir().mkpath(site) && QDir().mkpath(dir.path() + u"/out"_s) &&
                QDir().mkpath(dir.path() + u"/t"_s));
        const auto put = [](const QString& path, const QByteArray& bytes) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        put(site + u"/a.htm"_s, "<title>First</title>");
        put(templateFile, "<p>one</p>{{index}}");
        put(dir.path() + u"/t/other.htm"_s, "x");

        QProcess process;
        process.start(QStringLiteral(PAGEWICK_CLI), {u"page"_s, site, u"--title"_s, u"T"_s, u"--template"_s,
                                                     templateFile, u"-o"_s, out, u"--watch"_s});
        QVERIFY(process.waitForStarted());
        const auto stop = qScopeGuard([&] {
            if (process.state() != QProcess::NotRunning) {
                process.kill();
                process.waitForFinished();
            }
        });
        QTRY_VERIFY_WITH_TIMEOUT(read(out).contains("one"), 20000);
        // Saved in place, then replaced through a rename, as editors do.
        put(templateFile, "<p>two</p>{{index}}");
        QTRY_VERIFY_WITH_TIMEOUT(read(out).contains("two"), 20000);
        put(templateFile + u".new"_s, "<p>three</p>{{index}}");
        QVERIFY(::rename(QFile::encodeName(templateFile + u".new"_s).constData(),
                         QFile::encodeName(templateFile).constData()) == 0);
        QTRY_VERIFY_WITH_TIMEOUT(read(out).contains("three"), 20000);
        put(templateFile, "<p>four</p>{{index}}{{oops}}");
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT(
            (said += process.readAllStandardError()).contains("unknown placeholder {{oops}}"), 20000);
        // A page changed meanwhile builds again, and again writes nothing.
        put(site + u"/a.htm"_s, "<title>Second</title>");
        QTRY_VERIFY_WITH_TIMEOUT((said += process.readAllStandardError()).count("{{oops}}") >= 2, 20000);
        QVERIFY(read(out).contains("three") && read(out).contains("First"));
        put(templateFile, "<p>five</p>{{index}}");
        QTRY_VERIFY_WITH_TIMEOUT(read(out).contains("five") && read(out).contains("Second"), 20000);

        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

    // A watch is never stale: the folder it was given is followed when a link is switched to
    // another folder or the folder is made again, and a sub-folder that becomes readable is taken
    // in at once.
    void watchFollows_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<QByteArray>("title"); // shows in the output only after the change
        QTest::newRow("a link switched to another folder (ln -s new tmp && mv -T tmp current)")
            << int(SwitchLink) << QByteArray("Switched");
        QTest::newRow("a link switched, the page's template in the folder: its changes still seen")
            << int(SwitchLinkWithTemplate) << QByteArray("Switched");
        QTest::newRow("the folder removed and made again") << int(MakeAgain) << QByteArray("Made again");
        QTest::newRow("a sub-folder that becomes readable") << int(OpenSubFolder) << QByteArray("Opened");
    }
    void watchFollows() {
        QFETCH(int, change);
        QFETCH(QByteArray, title);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString base = dir.path();
        const auto put = [](const QString& path, const QByteArray& bytes) {
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        put(base + u"/v1/a.htm"_s, "<title>First</title>");
        put(base + u"/v2/a.htm"_s, "<title>" + title + "</title>");
        if (change == OpenSubFolder)
            put(base + u"/v1/shut/b.htm"_s, "<title>" + title + "</title>");
        QVERIFY(QFile::link(u"v1"_s, base + u"/current"_s));
        const QString shut = base + u"/v1/shut"_s;
        if (change == OpenSubFolder) {
            QVERIFY(QFile::setPermissions(shut, {}));
            testcaps::FileModesHold modes;
            if (!modes.isValid() || !testcaps::ChildrenCanBeHeld() ||
                testcaps::CanOpen(QFile::encodeName(shut)))
                QSKIP("file modes do not stop this user from reading");
        }
        const auto unlock = qScopeGuard(
            [&] { QFile::setPermissions(shut, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
        const QString out = base + u"/index.html"_s;
        QStringList args{u"index"_s, base + u"/current"_s, u"--recursive"_s, u"-o"_s, out, u"--watch"_s};
        if (change == SwitchLinkWithTemplate) {
            put(base + u"/v1/page.tpl"_s, "<p>one</p>{{index}}");
            put(base + u"/v2/page.tpl"_s, "<p>two</p>{{index}}");
            args = QStringList{u"page"_s,       base + u"/current"_s,          u"--title"_s, u"T"_s,
                               u"--template"_s, base + u"/current/page.tpl"_s, u"-o"_s,      out,
                               u"--watch"_s};
        }
        QProcess process;
        process.setChildProcessModifier([] { testcaps::DropFileOverrideForGood(); });
        process.start(QStringLiteral(PAGEWICK_CLI), args);
        QVERIFY(process.waitForStarted());
        const auto stop = qScopeGuard([&] {
            if (process.state() != QProcess::NotRunning) {
                process.kill();
                process.waitForFinished();
            }
        });
        QTRY_VERIFY_WITH_TIMEOUT(read(out).contains("First"), 20000);
        QVERIFY(!read(out).contains(title));
        const QByteArray top = QFile::encodeName(base);
        switch (change) {
        case SwitchLink:
        case SwitchLinkWithTemplate:
            QCOMPARE(::symlink("v2", (top + "/tmp").constData()), 0);
            QCOMPARE(::rename((top + "/tmp").constData(), (top + "/current").constData()), 0);
            break;
        case MakeAgain:
            QVERIFY(QDir(base + u"/v1"_s).removeRecursively());
            put(base + u"/v1/c.htm"_s, "<title>" + title + "</title>");
            break;
        case OpenSubFolder:
            QVERIFY(QFile::setPermissions(shut, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            break;
        }
        QTRY_VERIFY_WITH_TIMEOUT(read(out).contains(title), 20000);
        QCOMPARE(read(out).contains("First"), change == OpenSubFolder);
        if (change == SwitchLinkWithTemplate) {
            QVERIFY(read(out).contains("<p>two</p>"));
            // Past the builds the switch itself brings on, so that only the template's change
            // can bring the next.
            QTest::qWait(4 * 300);
            put(base + u"/v2/page.tpl"_s, "<p>three</p>{{index}}");
            QTRY_VERIFY_WITH_TIMEOUT(read(out).contains("<p>three</p>"), 20000);
        }
        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
    }

    // Within the user's limit of inotify watches (lowered in a user namespace of the test's own,
    // where the limit is private): the folders that cannot be watched are named, and without a
    // watch for the folder itself the command stops rather than go on blind.
    void watchLimitedWatches_data() {
        QTest::addColumn<int>("watches");
        QTest::addColumn<bool>("runs");            // keeps watching
        QTest::addColumn<QByteArrayList>("named"); // the folders said not to be watched
        QTest::newRow("none: the folder itself") << 0 << false << QByteArrayList{"site"};
        QTest::newRow("three: the folder, its parent and one sub-folder")
            << 3 << true << QByteArrayList{"site/b", "site/c"};
    }
    void watchLimitedWatches() {
        QFETCH(int, watches);
        QFETCH(bool, runs);
        QFETCH(QByteArrayList, named);
        if (QStandardPaths::findExecutable(u"unshare"_s).isEmpty())
            QSKIP("no unshare here");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString& sub : {u"site/a"_s, u"site/b"_s, u"site/c"_s})
            QVERIFY(QDir(dir.path()).mkpath(sub));
        QProcess process;
        process.setWorkingDirectory(dir.path());
        const QString script = u"echo %1 >/proc/sys/user/max_inotify_watches && exec \"$0\" index site "
                               u"--recursive -o out.html --watch"_s.arg(watches);
        process.start(u"unshare"_s,
                      {u"-U"_s, u"-r"_s, u"sh"_s, u"-c"_s, script, QStringLiteral(PAGEWICK_CLI)});
        QVERIFY(process.waitForStarted());
        const auto stop = qScopeGuard([&] {
            if (process.state() != QProcess::NotRunning) {
                process.kill();
                process.waitForFinished();
            }
        });
        if (runs) {
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir.filePath(u"out.html"_s)) ||
                                         process.state() == QProcess::NotRunning,
                                     20000);
            ::kill(pid_t(process.processId()), SIGTERM);
        }
        QVERIFY(process.waitForFinished(20000));
        const QByteArray err = process.readAllStandardError();
        if (err.startsWith("unshare:") || err.startsWith("sh:"))
            QSKIP(qPrintable(u"no user namespace of our own here: "_s + QString::fromLocal8Bit(err)));
        QCOMPARE(process.exitCode(), runs ? 0 : 1);
        QCOMPARE(err.count("cannot watch folder"), named.size());
        for (const QByteArray& folder : named)
            QVERIFY2(
                err.contains("cannot watch folder \"" + folder + "\": the user's limit of inotify watches"),
                err.constData());
    }

    // A watch that cannot be set up says why, in the system's words for the cause, and stops:
    // here the descriptors run out at every step of the start in turn (the inotify instance
    // among them).
    void watchWithoutDescriptors() {
#ifdef __SANITIZE_ADDRESS__
        // The sanitizers' own checks need descriptors (a pipe to test memory), and report every
        // object as bad once there are none left.
        QSKIP("a process out of descriptors cannot run under the sanitizers");
#endif
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        bool instanceRefused = false;
        for (rlim_t limit = 4; limit <= 12; ++limit) {
            QProcess process;
            process.setChildProcessModifier([limit] {
                const rlimit low{limit, limit};
                ::setrlimit(RLIMIT_NOFILE, &low);
            });
            process.start(QStringLiteral(PAGEWICK_CLI), {u"index"_s, root + u"/site"_s, u"-o"_s,
                                                         dir.filePath(u"index.html"_s), u"--watch"_s});
            QVERIFY(process.waitForStarted());
            if (!process.waitForFinished(3000)) {
                // Enough descriptors: it watches. Higher limits would too.
                ::kill(pid_t(process.processId()), SIGTERM);
                QVERIFY(process.waitForFinished(20000));
                QCOMPARE(process.exitCode(), 0);
                break;
            }
            const QByteArray err = process.readAllStandardError();
            if (process.exitStatus() != QProcess::NormalExit || process.exitCode() == 127)
                continue; // too few to load the program at all
            QCOMPARE(process.exitCode(), 1);
            QVERIFY2(err.contains("Too many open files") && !err.contains("Invalid argument"),
                     err.constData());
            instanceRefused = instanceRefused || err.contains("cannot watch the folder: Too many open files");
        }
        QVERIFY(instanceRefused);
    }

    void helpAndVersion_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("language"); // LANGUAGE
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("within"); // from the end of the help: all of it is in the language
        const QByteArray usage = "Usage: pagewick-cli index FOLDER ";
        const QByteArray german = "Aufruf: pagewick-cli index FOLDER ";
        const QByteArray french = "Usage\xc2\xa0: pagewick-cli index FOLDER ";
        const QByteArray examples = "\nExamples:\n";
        const QByteArray germanExamples = "\nBeispiele:\n";
        const QByteArray frenchExamples = "\nExemples\xc2\xa0:\n";
        QTest::newRow("--help") << QStringList{u"--help"_s} << u"en"_s << usage << examples;
        QTest::newRow("-h") << QStringList{u"-h"_s} << u"en"_s << usage << examples;
        QTest::newRow("help after a command")
            << QStringList{u"rss"_s, u"--help"_s} << u"en"_s << usage << QByteArray("--template FILE");
        QTest::newRow("--version") << QStringList{u"--version"_s} << u"en"_s
                                   << QByteArray("pagewick-cli " PAGEWICK_VERSION "\n") << QByteArray();
        QTest::newRow("--help, German") << QStringList{u"--help"_s} << u"de"_s << german << germanExamples;
        QTest::newRow("--help, Austrian German") << QStringList{u"--help"_s} << u"de_AT"_s << german
                                                 << QByteArray("am Ende des Kopfes der Vorlage");
        QTest::newRow("--help, French") << QStringList{u"--help"_s} << u"fr"_s << french << frenchExamples;
        QTest::newRow("--help, Spanish then French")
            << QStringList{u"--help"_s} << u"es:fr"_s << french << QByteArray("sans requ\xc3\xaate ni");
        QTest::newRow("--help, Spanish: English") << QStringList{u"--help"_s} << u"es"_s << usage << examples;
        QTest::newRow("--version, German")
            << QStringList{u"--version"_s} << u"de"_s << QByteArray("pagewick-cli " PAGEWICK_VERSION "\n")
            << QByteArray();
    }
    void helpAndVersion() {
        QFETCH(QStringList, args);
        QFETCH(QString, language);
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, within);
        const Result r = run(args, language);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QByteArray());
        QVERIFY2(r.out.startsWith(start), r.out.constData());
        QVERIFY2(r.out.contains(within), r.out.constData());
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

        const QString script = uR"sh(exec "$0" "$1" "$(printf '%b' "$2")")sh"_s;
        const QString escaped = root + u"/odd\\0377"_s;
        QProcess process;
        Result r = run(process, u"/bin/sh"_s,
                       QStringList{u"-c"_s, script, QStringLiteral(PAGEWICK_CLI), u"index"_s, escaped});
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.out, QByteArray("<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n</ul>"));
        r = run(process, u"/bin/sh"_s,
                QStringList{u"-c"_s, script, QStringLiteral(PAGEWICK_CLI), u"titles"_s, escaped});
        QCOMPARE(r.out, QByteArray("a.htm\tAlpha\n"));
    }

    // A write that fails half-way (here: the file size limit, which holds for root too) must
    // leave the old file as it was and no temporary file behind.
    void failedWriteKeepsOldFile_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("page") << QStringList{u"page"_s,    u"$T/site"_s, u"--title"_s,
                                             u"My Site"_s, u"-o"_s,      u"$T/out/keep"_s};
        QTest::newRow("rss") << QStringList{u"rss"_s, u"$T/site"_s, u"-o"_s, u"$T/out/keep"_s} + FeedOptions;
    }
    void failedWriteKeepsOldFile() {
        QFETCH(QStringList, args);
        write(u"out/keep"_s, "old page\r\n");
        QProcess process;
        process.setChildProcessModifier([] {
            const rlimit limit{64, 64};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN);
        });
        const Result r = run(process, QStringLiteral(PAGEWICK_CLI), expand(args));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith("pagewick-cli: "), r.err.constData());
        QCOMPARE(read(root + u"/out/keep"_s), QByteArray("old page\r\n"));
        QCOMPARE(QDir(root + u"/out"_s).entryList(QDir::Files | QDir::Hidden), QStringList{u"keep"_s});
    }

    void standardOutputThatCannotBeWritten() {
        // A private copy of the full device, so the test never opens the machine's own.
        const QString full = root + u"/full"_s;
        if (::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0600, makedev(1, 7)) != 0)
            QSKIP("cannot make a private full device here (needs root)");
        QProcess process;
        process.setStandardOutputFile(full);
        const Result r = run(process, QStringLiteral(PAGEWICK_CLI), expand({u"index"_s, u"$T/site"_s}));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith("pagewick-cli: "), r.err.constData());
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
