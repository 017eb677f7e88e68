#include "engine/index.h"
#include "engine/pagetemplate.h"
#include "engine/spool_p.h"
#include "engine/writefile.h"
#include "fixture.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class IndexTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void alphaExample_data();
    void alphaExample();
    void indexLine_data();
    void indexLine();
    void emptyList();
    void indexDetails_data();
    void indexDetails();
    void pageDocument_data();
    void pageDocument();
    void pageTemplate_data();
    void pageTemplate();
    void templateRefused_data();
    void templateRefused();
    void templateFile_data();
    void templateFile();
    void writeReplacesFile();
    void failedWriteKeepsFile_data();
    void failedWriteKeepsFile();
    void spoolGivesBackItsText_data();
    void spoolGivesBackItsText();
};

void IndexTest::alphaExample_data() {
    QTest::addColumn<bool>("trailingSeparator");
    QTest::newRow("folder without separator") << false;
    QTest::newRow("folder with separator") << true;
}

void IndexTest::alphaExample() {
    QFETCH(bool, trailingSeparator);
    QTemporaryDir dir;
    WriteFixture(dir.path(), u"a.htm"_s, "<html><head><title>Alpha</title></head></html>");
    WriteFixture(dir.path(), u"b.html"_s, "<html><body>No title here</body></html>");
    const QString folder = dir.path() + (trailingSeparator ? u"/"_s : QString());
    QCOMPARE(BuildIndexText(folder, {u"a.htm"_s, u"b.html"_s}),
             u"<ul>\r\n<li><a href=\"a.htm\">Alpha</a>\r\n<li><a href=\"b.html\">"_s + dir.path() +
                 u"/b.html</a>\r\n</ul>"_s);
}

void IndexTest::indexLine_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // null: the page is listed but gone
    QTest::addColumn<QString>("line");       // "{folder}" stands for the folder
    QTest::newRow("title's markup is text")
        << u"t.htm"_s << QByteArray("<title>Fish & \"Chips\" <i>x</i></title>")
        << u"<li><a href=\"t.htm\">Fish & \"Chips\" &lt;i&gt;x&lt;/i&gt;</a>"_s;
    QTest::newRow("references stay as written")
        << u"t.htm"_s << QByteArray("<title>Tom &amp; Jerry &mdash; &#60;3 &bogus</title>")
        << u"<li><a href=\"t.htm\">Tom &amp; Jerry &mdash; &#60;3 &bogus</a>"_s;
    QTest::newRow("a comment opener hides nothing")
        << u"t.htm"_s << QByteArray("<title>a <!-- b</title>") << u"<li><a href=\"t.htm\">a &lt;!-- b</a>"_s;
    QTest::newRow("a script runs nowhere")
        << u"t.htm"_s << QByteArray("<title><script>alert(1)</script></title>")
        << u"<li><a href=\"t.htm\">&lt;script&gt;alert(1)&lt;/script&gt;</a>"_s;
    QTest::newRow("name encoded in the link") << u"my \"best\" #1.htm"_s << QByteArray("<title>Best</title>")
                                              << u"<li><a href=\"my%20%22best%22%20%231.htm\">Best</a>"_s;
    QTest::newRow("fallback path escaped")
        << u"R&D <new>.htm"_s << QByteArray("no title")
        << u"<li><a href=\"R%26D%20%3Cnew%3E.htm\">{folder}/R&amp;D &lt;new&gt;.htm</a>"_s;
    QTest::newRow("page gone") << u"gone.htm"_s << QByteArray()
                               << u"<li><a href=\"gone.htm\">{folder}/gone.htm</a>"_s;
}

void IndexTest::indexLine() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, line);
    QTemporaryDir dir;
    if (!content.isNull())
        WriteFixture(dir.path(), name, content);
    QCOMPARE(BuildIndexText(dir.path(), {name}),
             u"<ul>\r\n"_s + line.replace(u"{folder}"_s, dir.path()) + u"\r\n</ul>"_s);
}

void IndexTest::emptyList() {
    QCOMPARE(BuildIndexText(u"/nowhere"_s, {}), u"<ul>\r\n</ul>"_s);
}

void IndexTest::pageDocument_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("document");
    QTest::newRow("title twice") << u"My Site"_s << u"<ul>\r\n</ul>"_s
                                 << u"<html><head><meta charset=\"utf-8\"><title>My Site</title></head><body>"
                                    "<h1>My Site</h1><ul>\r\n</ul></body></html>\r\n"_s;
    QTest::newRow("empty title") << QString() << u"<ul>\r\n</ul>"_s
                                 << u"<html><head><meta charset=\"utf-8\"><title></title></head><body>"
                                    "<h1></h1><ul>\r\n</ul></body></html>\r\n"_s;
}

void IndexTest::pageDocument() {
    QFETCH(QString, title);
    QFETCH(QString, index);
    QFETCH(QString, document);
    QCOMPARE(BuildPageDocument(title, index), document);
}

// What each entry shows after its link; the link and title stay as they are without details.
void IndexTest::indexDetails_data() {
    QTest::addColumn<QString>("details");    // as --details takes them
    QTest::addColumn<QByteArray>("content"); // null: the page is listed but gone
    QTest::addColumn<QString>("locale");     // empty: dates and numbers the same everywhere
    QTest::addColumn<QString>("after");      // what follows "</a>" on the page's line
    const QByteArray dated = "<head><meta name=\"date\" content=\"2024-05-03T23:30:00-02:00\">"
                             "<meta name=\"description\" content=\"Fish &amp; <chips>\">"
                             "<title>T</title></head>";
    QTest::newRow("date, declared, in UTC")
        << u"date"_s << dated << QString() << u" <time datetime=\"2024-05-04T01:30:00Z\">2024-05-04</time>"_s;
    QTest::newRow("size in bytes") << u"size"_s << QByteArray("<title>T</title>").leftJustified(500, ' ')
                                   << QString() << u" <span class=\"size\">500 bytes</span>"_s;
    QTest::newRow("size in KiB") << u"size"_s << QByteArray("<title>T</title>").leftJustified(2048 + 103, ' ')
                                 << QString() << u" <span class=\"size\">2.1 KiB</span>"_s;
    QTest::newRow("description is text") << u"description"_s << dated << QString()
                                         << u" <span class=\"description\">Fish &amp; &lt;chips&gt;</span>"_s;
    QTest::newRow("in the order given")
        << u"description,size,date"_s << dated << QString()
        << u" <span class=\"description\">Fish &amp; &lt;chips&gt;</span> <span class=\"size\">%1 "
           u"bytes</span>"
           " <time datetime=\"2024-05-04T01:30:00Z\">2024-05-04</time>"_s.arg(dated.size());
    QTest::newRow("no description, nothing")
        << u"description"_s << QByteArray("<title>T</title>") << QString() << QString();
    QTest::newRow("page gone, nothing")
        << u"date,size,description"_s << QByteArray() << QString() << QString();
    QTest::newRow("the user's formats")
        << u"date,size"_s << dated + QByteArray(2300 - dated.size(), ' ') << u"de_DE"_s
        << u" <time datetime=\"2024-05-04T01:30:00Z\">%1</time> <span class=\"size\">2,2 KiB</span>"_s.arg(
               QLocale(u"de_DE"_s)
                   .toString(
                       QDateTime(QDate(2024, 5, 4), QTime(1, 30), QTimeZone::utc()).toLocalTime().date(),
                       QLocale::ShortFormat));
}

void IndexTest::indexDetails() {
    QFETCH(QString, details);
    QFETCH(QByteArray, content);
    QFETCH(QString, locale);
    QFETCH(QString, after);
    QTemporaryDir dir;
    if (!content.isNull())
        WriteFixture(dir.path(), u"p.htm"_s, content);
    const QString link = content.isNull() ? u"<li><a href=\"p.htm\">"_s + dir.path() + u"/p.htm</a>"_s
                                          : u"<li><a href=\"p.htm\">T</a>"_s;
    IndexDetails shown;
    shown.shown = *ParseIndexDetails(details);
    if (!locale.isEmpty())
        shown.userLocale = QLocale(locale);
    for (const PageOrder order : {PageOrder::Name, PageOrder::Date}) {
        const QString index = BuildIndexText({dir.path(), {u"p.htm"_s}, {order, {}, 0}, shown});
        QCOMPARE(index, u"<ul>\r\n"_s + link + after + u"\r\n</ul>"_s);
    }
    // With no details, every byte as before.
    QCOMPARE(BuildIndexText({dir.path(), {u"p.htm"_s}}), BuildIndexText(dir.path(), {u"p.htm"_s}));
}

// A template filled in: the placeholders, and the charset the page is written in.
void IndexTest::pageTemplate_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("stylesheet");
    QTest::addColumn<QString>("page"); // "%INDEX%" stands for the index
    const QByteArray head = "<html><head><meta charset=\"utf-8\"></head><body>";
    const QString start = u"<html><head><meta charset=\"utf-8\"></head><body>"_s;
    QTest::newRow("each placeholder")
        << head + "<h1>{{title}}</h1><p>{{count}} pages, {{updated}}</p>{{index}}" << QString()
        << start + u"<h1>Fish &amp; &lt;Chips&gt; \"1\"</h1><p>3 pages, "
                   u"2024-05-03T07:08:09Z</p>%INDEX%"_s;
    QTest::newRow("repeated, spaces inside the braces")
        << head + "{{ index }}{{title}}{{index}}{{ title}}" << QString()
        << start + u"%INDEX%Fish &amp; &lt;Chips&gt; \"1\"%INDEX%Fish &amp; &lt;Chips&gt; \"1\""_s;
    QTest::newRow("four braces write two")
        << head + "{{{{index}} {{{{ }}{{index}}" << QString() << start + u"{{index}} {{ }}%INDEX%"_s;
    QTest::newRow("title in a double-quoted attribute")
        << head + "<a title=\"{{title}}\" href='x'>{{index}}</a>" << QString()
        << start + u"<a title=\"Fish &amp; &lt;Chips&gt; &quot;1&quot;\" href='x'>%INDEX%</a>"_s;
    QTest::newRow("title in a single-quoted attribute")
        << head + "<meta name=x content='{{title}}'>{{index}}" << QString()
        << start + u"<meta name=x content='Fish &amp; &lt;Chips&gt; &quot;1&quot;'>%INDEX%"_s;
    QTest::newRow("title as an unquoted attribute")
        << head + "<a title={{title}}>{{index}}" << QString()
        << start + u"<a title=Fish&#32;&amp;&#32;&lt;Chips&gt;&#32;&quot;1&quot;>%INDEX%"_s;
    QTest::newRow("title element and comment hold text")
        << QByteArray("<head><title>{{title}} - site</title><!-- <a href=\"{{title}}\"> --></head>{{index}}")
        << QString()
        << u"<head><meta charset=\"utf-8\"><title>Fish &amp; &lt;Chips&gt; \"1\" - site</title><!-- <a "
           u"href=\"Fish &amp; &lt;Chips&gt; \"1\"\"> --></head>%INDEX%"_s;
    QTest::newRow("a quote in a script is no attribute")
        << QByteArray("<head><script>var q = \"</script><p>{{title}}\"</p>{{index}}") << QString()
        << u"<head><meta charset=\"utf-8\"><script>var q = \"</script><p>Fish &amp; &lt;Chips&gt; \"1\"\"</p>%INDEX%"_s;
    // The page is UTF-8 and declares it, whatever the template was written in.
    QTest::newRow("meta charset, windows-1252")
        << QByteArray("<html><head><meta charset=\"windows-1252\"><title>Caf\xe9</title></head>{{index}}")
        << QString() << u"<html><head><meta charset=\"utf-8\"><title>Caf\u00e9</title></head>%INDEX%"_s;
    QTest::newRow("http-equiv, ISO-8859-2")
        << QByteArray("<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=ISO-8859-2\">"
                      "\xb3\xf3"
                      "d\xbc</HEAD>{{index}}")
        << QString()
        << u"<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">\u0142\u00f3d\u017a</HEAD>%INDEX%"_s;
    QTest::newRow("XML declaration")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><html>\xe9{{index}}") << QString()
        << u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><html><meta charset=\"utf-8\">\u00e9%INDEX%"_s;
    QTest::newRow("UTF-8 byte-order mark")
        << QByteArray("\xef\xbb\xbf<head></head>\xc3\xa9{{index}}") << QString()
        << u"<head><meta charset=\"utf-8\"></head>\u00e9%INDEX%"_s;
    QTest::newRow("UTF-16 with its mark")
        << QByteArray("\xff\xfe") +
               QStringEncoder(QStringEncoder::Utf16LE).encode(u"<head></head>\u00e9{{index}}"_s)
        << QString() << u"<head><meta charset=\"utf-8\"></head>\u00e9%INDEX%"_s;
    QTest::newRow("no declaration, after the doctype")
        << QByteArray("<!DOCTYPE html><!-- <meta charset=latin1> --><p>{{index}}") << QString()
        << u"<!DOCTYPE html><meta charset=\"utf-8\"><!-- <meta charset=latin1> --><p>%INDEX%"_s;
    // A browser's look for the encoding does not know scripts: what it would find is UTF-8 too.
    QTest::newRow("meta in a script")
        << QByteArray("<head><script>w('<meta charset=latin1>')</script></head>{{index}}") << QString()
        << u"<head><meta charset=\"utf-8\"><script>w('<meta charset=utf-8>')</script></head>%INDEX%"_s;
    QTest::newRow("no markup at all")
        << QByteArray("{{index}}") << QString() << u"<meta charset=\"utf-8\">%INDEX%"_s;
    QTest::newRow("stylesheet at the end of the head")
        << QByteArray(head).replace("</head>", "<link rel=stylesheet href=site.css></head>") + "{{index}}"
        << u"/s.css?a=1&b=\"{{x}}\""_s
        << u"<html><head><meta charset=\"utf-8\"><link rel=stylesheet href=site.css><link rel=\"stylesheet\" "
           u"href=\"/s.css?a=1&amp;b=&quot;{{x}}&quot;\"></head><body>%INDEX%"_s;
    QTest::newRow("stylesheet, no head")
        << QByteArray("<p>{{index}}") << u"s.css"_s
        << u"<meta charset=\"utf-8\"><link rel=\"stylesheet\" href=\"s.css\"><p>%INDEX%"_s;
}

void IndexTest::pageTemplate() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, stylesheet);
    QFETCH(QString, page);
    QString error;
    const std::optional<PageTemplate> parsed = PageTemplate::Parse(bytes, stylesheet, &error);
    QVERIFY2(parsed, qPrintable(error));
    const QString index = u"<ul>\r\n<li><a href=\"a.htm\">A &amp; {{title}}</a>\r\n</ul>"_s;
    const IndexSummary summary{3, QDateTime(QDate(2024, 5, 3), QTime(7, 8, 9), QTimeZone::utc())};
    QCOMPARE(parsed->render(u"Fish & <Chips> \"1\""_s, index, summary), page.replace(u"%INDEX%"_s, index));
    QCOMPARE(parsed->uses(PageTemplate::Updated), bytes.contains("{{updated}}"));
}

void IndexTest::templateRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown, on its line") << QByteArray("<html>\r\n<body>\r\n{{index}} {{titel}}")
                                          << u"line 3: unknown placeholder {{titel}}"_s;
    QTest::newRow("Mustache's unescaped form")
        << QByteArray("{{{index}}}") << u"line 1: unknown placeholder {{{index}}"_s;
    QTest::newRow("section") << QByteArray("{{index}}\n{{#pages}}")
                             << u"line 2: unknown placeholder {{#pages}}"_s;
    QTest::newRow("not closed on its line")
        << QByteArray("{{index}}\n{{title\n}}") << u"line 2: \"{{\" without its \"}}\""_s;
    QTest::newRow("no index") << QByteArray("<h1>{{title}}</h1>") << u"there is no {{index}}"_s;
    QTest::newRow("index only written out") << QByteArray("{{{{index}}") << u"there is no {{index}}"_s;
    QTest::newRow("index inside a tag")
        << QByteArray("<a href=\"{{index}}\">") << u"line 1: {{index}} stands inside a tag"_s;
}

void IndexTest::templateRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QString why;
    QVERIFY(!PageTemplate::Parse(bytes, QString(), &why));
    QVERIFY2(why.startsWith(error), qPrintable(why));
}

// A template file is read whole, but only when it is a file.
void IndexTest::templateFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error"); // empty: read
    QTest::newRow("a file") << u"t.html"_s << QString();
    QTest::newRow("missing") << u"none.html"_s << u"No such file"_s;
    QTest::newRow("a folder") << u"folder"_s << u"not a regular file"_s;
    QTest::newRow("a FIFO is not waited on") << u"fifo"_s << u"not a regular file"_s;
    QTest::newRow("too big") << u"big.html"_s << u"it is larger than 16 MiB"_s;
}

void IndexTest::templateFile() {
    QFETCH(QString, name);
    QFETCH(QString, error);
    QTemporaryDir dir;
    WriteFixture(dir.path(), u"t.html"_s, "<p>{{index}}");
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
    QCOMPARE(mkfifo(QFile::encodeName(dir.filePath(u"fifo"_s)).constData(), 0600), 0);
    QFile big(dir.filePath(u"big.html"_s));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(17 * 1024 * 1024));
    big.close();
    QString why;
    const std::optional<PageTemplate> loaded = LoadPageTemplate(dir.filePath(name), QString(), &why);
    QCOMPARE(bool(loaded), error.isEmpty());
    if (loaded)
        QCOMPARE(loaded->render(QString(), u"I"_s, {}), u"<meta charset=\"utf-8\"><p>I"_s);
    else
        QVERIFY2(why.contains(dir.filePath(name)) && why.contains(error), qPrintable(why));
}

void IndexTest::writeReplacesFile() {
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

void IndexTest::failedWriteKeepsFile_data() {
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("sizeLimit");
    QTest::newRow("under a regular file") << u"keep.htm/index.htm"_s << false;
    QTest::newRow("onto a folder") << u"folder"_s << false;
    QTest::newRow("write fails midway") << u"keep.htm"_s << true;
}

void IndexTest::failedWriteKeepsFile() {
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

// The text a feed holds back until its start is known comes back whole and in order, in pieces of
// whole lines, whether it stayed in memory, went to a temporary file, or could not.
void IndexTest::spoolGivesBackItsText_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("tempFolder"); // "" the usual one; "missing"; "limited" (the file cannot grow)
    QTest::newRow("nothing") << 0 << QString();
    QTest::newRow("a little, in memory") << 100 << QString();
    QTest::newRow("megabytes, in a temporary file") << 40000 << QString();
    QTest::newRow("no temporary folder") << 40000 << u"missing"_s;
    QTest::newRow("a temporary file that stops growing") << 40000 << u"limited"_s;
}

void IndexTest::spoolGivesBackItsText() {
    QFETCH(int, lines);
    QFETCH(QString, tempFolder);
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
            const QString line = u"<entry>\u00e9t\u00e9 \U0001F600 %1</entry>\r\n"_s.arg(i);
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

QTEST_GUILESS_MAIN(IndexTest)
#include "tst_index.moc"
