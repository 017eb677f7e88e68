#include "engine/output/index.h"
#include "engine/output/pagetemplate.h"
#include "fixture.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class PageTemplateTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageTemplate_data();
    void pageTemplate();
    void templateRefused_data();
    void templateRefused();
    void templateFile_data();
    void templateFile();
};

// A template filled in: the placeholders, and the charset the page is written in.
void PageTemplateTest::pageTemplate_data() {
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

void PageTemplateTest::pageTemplate() {
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

void PageTemplateTest::templateRefused_data() {
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

void PageTemplateTest::templateRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QString why;
    QVERIFY(!PageTemplate::Parse(bytes, QString(), &why));
    QVERIFY2(why.startsWith(error), qPrintable(why));
}

// A template file is read whole, but only when it is a file.
void PageTemplateTest::templateFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error"); // empty: read
    QTest::newRow("a file") << u"t.html"_s << QString();
    QTest::newRow("missing") << u"none.html"_s << u"No such file"_s;
    QTest::newRow("a folder") << u"folder"_s << u"not a regular file"_s;
    QTest::newRow("a FIFO is not waited on") << u"fifo"_s << u"not a regular file"_s;
    QTest::newRow("too big") << u"big.html"_s << u"it is larger than 16 MiB"_s;
}

void PageTemplateTest::templateFile() {
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

QTEST_GUILESS_MAIN(PageTemplateTest)
#include "tst_pagetemplate.moc"
