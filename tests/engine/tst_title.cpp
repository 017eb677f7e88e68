#include "engine/reading/pagereader.h"
#include "engine/reading/pagereader_p.h"
#include "engine/reading/title.h"
#include "engine/reading/title_p.h"
#include "engine/text/decode_p.h"
#include "engine/text/entities.h"
#include "fixture.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

namespace {} // namespace

class TitleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(dir.isValid()); }
    // First, while the test's own peak memory is still low.
    void bigPageCostsLittleMemory_data();
    void bigPageCostsLittleMemory();
    void everyPageEnds_data();
    void everyPageEnds();
    void rules_data();
    void rules();
    void treeConstruction_data();
    void treeConstruction();
    void tagAcrossChunks_data();
    void tagAcrossChunks();
    void longTitle_data();
    void longTitle();
    void longOpeningTag_data();
    void longOpeningTag();
    void notARegularFile_data();
    void notARegularFile();
    void lineBreaksInTitle_data();
    void lineBreaksInTitle();
    void pageRecord_data();
    void pageRecord();
    void browserCorpus_data();
    void browserCorpus();

private:
    QTemporaryDir dir;
};

void TitleTest::rules_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title"); // null: no title
    const QString none;
    QTest::newRow("capitals") << u"<TITLE>My Page</TITLE>"_s << u"My Page"_s;
    QTest::newRow("mixed case") << u"<html><TiTlE>x</tItLe>"_s << u"x"_s;
    QTest::newRow("attributes") << u"<title lang=\"en\" dir=rtl>Hi</title>"_s << u"Hi"_s;
    QTest::newRow("quoted >") << u"<title data-x=\"a>b\" data-y='c>d'>Hi</title>"_s << u"Hi"_s;
    QTest::newRow("slash") << u"<title/>Hi</title>"_s << u"Hi"_s;
    QTest::newRow("line break in tag") << u"<title\n>Hi</title>"_s << u"Hi"_s;
    QTest::newRow("unclosed quote") << u"<title a=\"x>Hi</title>"_s << none;
    QTest::newRow("<titles>") << u"<titles>No</titles>"_s << none;
    QTest::newRow("<titles> then <title>") << u"<titles>No</titles><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("missing") << u"<html><body>none</body></html>"_s << none;
    QTest::newRow("empty") << u"<title></title>"_s << none;
    QTest::newRow("only whitespace") << u"<title> \t\r\n\f </title>"_s << none;
    QTest::newRow("only whitespace, given as references")
        << u"<title>&#9; &#x20;&Tab;&#13;</title>"_s << none;
    QTest::newRow("a letter, then references to whitespace")
        << u"<title>x&#9; &#x20;</title>"_s << u"x&#9; &#x20;"_s;
    QTest::newRow("a no-break space as a reference is text") << u"<title> &nbsp; </title>"_s << u"&nbsp;"_s;
    QTest::newRow("a reference to nothing is text") << u"<title>&#0;</title>"_s << u"&#0;"_s;
    QTest::newRow("closing tag only") << u"<head>0123456789</title>0123456789"_s << none;
    QTest::newRow("closing before opening") << u"</title>junk<title>Real</title>"_s << u"Real"_s;
    // A title left open runs to the end of the page, as a browser shows it.
    QTest::newRow("closing only before opening") << u"</title><title>Unfinished"_s << u"Unfinished"_s;
    QTest::newRow("no closing tag") << u"<title>Unfinished"_s << u"Unfinished"_s;
    QTest::newRow("no closing tag, trimmed, a partial end tag kept")
        << u"<title>  A\n B </ti"_s << u"A B </ti"_s;
    QTest::newRow("comma and quotes")
        << u"<title>Tom, \"Jerry\" & 'Spike'</title>"_s << u"Tom, \"Jerry\" & 'Spike'"_s;
    QTest::newRow("line break gives a space") << u"<title>A\r\nB</title>"_s << u"A B"_s;
    QTest::newRow("whitespace collapsed, ends trimmed") << u"<title>\t A \f\f B  \n</title>"_s << u"A B"_s;
    QTest::newRow("no-break space kept") << u"<title>\u00A0A\u00A0 B</title>"_s << u"\u00A0A\u00A0 B"_s;
    QTest::newRow("NUL as U+FFFD") << u"<title>A\0B</title>"_s << u"A\uFFFDB"_s;
    QTest::newRow("entities as written")
        << u"<title>Fish &amp; Chips &eacute;</title>"_s << u"Fish &amp; Chips &eacute;"_s;
    QTest::newRow("markup as written") << u"<title>a <b>bold</b></title>"_s << u"a <b>bold</b>"_s;
    QTest::newRow("end tag with space") << u"<title>A</title >B</title>"_s << u"A"_s;
    QTest::newRow("end tag lookalike") << u"<title>A</titlex>B</TITLE>"_s << u"A</titlex>B"_s;
    QTest::newRow("first of two") << u"<title>One</title><title>Two</title>"_s << u"One"_s;
    QTest::newRow("non-ascii") << u"<title>Ünïcødé 日本 😀</title>"_s << u"Ünïcødé 日本 😀"_s;
    // Tags as the HTML tokenizer reads them.
    QTest::newRow("comment holds no title") << u"<!-- <title>Old</title> --><title>New</title>"_s << u"New"_s;
    QTest::newRow("comment ends at the first -->")
        << u"<!-- a -- b --><title>New</title><!-- -->"_s << u"New"_s;
    QTest::newRow("--!> ends a comment") << u"<!-- x --!><title>New</title>"_s << u"New"_s;
    QTest::newRow("<!--> is a whole comment") << u"<!--><title>New</title>"_s << u"New"_s;
    QTest::newRow("<!---> is a whole comment") << u"<!---><title>New</title>"_s << u"New"_s;
    QTest::newRow("unclosed comment") << u"<!-- <title>Old</title>"_s << none;
    QTest::newRow("<!--!> is no comment end")
        << u"<!--!><title>No</title>--><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("<!---!> is no comment end")
        << u"<!---!><title>No</title>--><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("<!----!> is a whole comment") << u"<!----!><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("--!- goes on") << u"<!-- --!-><title>No</title>--><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("nested <!-- ends at the first -->") << u"<!-- <!-- --><title>Yes</title>-->"_s << u"Yes"_s;
    QTest::newRow("doctype and processing instruction")
        << u"<!DOCTYPE html><?pi <title>No</title>?><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("bogus comment ends at the first >")
        << u"<! a <title>No</title><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("script") << u"<script>var t = '<title>Fake</title>';</script><title>Real</title>"_s
                            << u"Real"_s;
    QTest::newRow("script end tag in any case, with attributes")
        << u"<SCRIPT>x</Script foo=1><title>Real</title>"_s << u"Real"_s;
    QTest::newRow("script end tag lookalike")
        << u"<script></scripts><title>Fake</title></script><title>Real</title>"_s << u"Real"_s;
    QTest::newRow("style") << u"<style>/* <title>Fake</title> */</style><title>Real</title>"_s << u"Real"_s;
    QTest::newRow("textarea") << u"<textarea><title>Fake</title></textarea><title>Real</title>"_s
                              << u"Real"_s;
    QTest::newRow("xmp, iframe, noembed, noframes, noscript")
        << u"<xmp><title>1</title></xmp><iframe><title>2</title></iframe><noembed><title>3</title></noembed>"
           "<noframes><title>4</title></noframes><noscript><title>5</title></noscript><title>Real</title>"_s
        << u"Real"_s;
    QTest::newRow("script never closed") << u"<script><title>Fake</title>"_s << none;
    // "<!--" in a script escapes it; "<script" then double-escapes it, so "</script>" ends neither.
    QTest::newRow("double-escaped script")
        << u"<script><!-- <script></script><title>No</title> --></script><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("double-escaped script, --> back to script data")
        << u"<script><!--<script>--></script><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("escaped script ends at </script>")
        << u"<script><!--</script><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("escaped script, <scripts> is no double escape")
        << u"<script><!--<scripts></script><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("<!-- in style escapes nothing")
        << u"<style><!--<script></style><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("quoted attribute value")
        << u"<meta content=\"<title>Fake</title>\"><title>Real</title>"_s << u"Real"_s;
    QTest::newRow("single-quoted value with >")
        << u"<a title='x > <title>Fake</title>'><title>Real</title>"_s << u"Real"_s;
    QTest::newRow("slash then = starts a name, not a value")
        << u"<a b/=\"x><title>Real</title>\">"_s << u"Real"_s;
    QTest::newRow("quote inside a name is no value") << u"<a b\"c><title>Real</title>"_s << u"Real"_s;
    QTest::newRow("script after the title holds no end")
        << u"<title>A <script>x</title><script></title></script>"_s << u"A <script>x"_s;
    QTest::newRow("title in the body") << u"<body><p>text</p><title>Late</title>"_s << u"Late"_s;
    QTest::newRow("second title ignored, first unclosed") << u"<title>One<title>Two"_s << u"One<title>Two"_s;
    QTest::newRow("plaintext ends all tags") << u"<plaintext><title>No</title>"_s << none;
    QTest::newRow("< not starting a tag") << u"a < b <3 <title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("tag name swallowing the title") << u"<p<title>No</title>"_s << none;
    // Foreign content: <svg> and <math> have titles of their own, until an HTML tag breaks out.
    QTest::newRow("svg title") << u"<svg><title>Icon</title></svg><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("math title") << u"<math><title>M</title></math><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("svg title only") << u"<body><svg><title>Icon</title></svg>"_s << none;
    QTest::newRow("svg never closed") << u"<svg><g></g><title>Icon</title>"_s << none;
    QTest::newRow("self-closed svg") << u"<svg/><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("svg a=b/ is not self-closed") << u"<svg a=b/><title>Icon</title>"_s << none;
    QTest::newRow("self-closed svg title") << u"<svg><title/><title>Icon</title>"_s << none;
    QTest::newRow("<p> breaks out") << u"<svg><g><p><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("</p> breaks out") << u"<svg></p><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("font with a color breaks out")
        << u"<svg><font color=red><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("plain font does not")
        << u"<svg><font><title>No</title></font></svg><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("the end of the element around closes svg")
        << u"<div><svg><g></div><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("the end of a phrase around closes svg")
        << u"<span><svg></span><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("the end of a formatting element closes svg within a block")
        << u"<b><div><svg></b><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("the end of a formatting element moves svg desc out")
        << u"<a><svg><desc></a><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("svg after many long-named elements")
        << u"<custom-element-with-a-long-name>x</custom-element-with-a-long-name>"_s.repeated(600) +
               u"<svg><title>Icon</title></svg>"_s
        << none;
    QTest::newRow("svg deep down") << u"<div>"_s.repeated(600) + u"<svg><title>Icon</title></svg>"_s << none;
    QTest::newRow("a stray end tag does not") << u"<svg></a><title>No</title>"_s << none;
    QTest::newRow("svg style is no raw text") << u"<svg><style></svg><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("svg script is no script data") << u"<svg><script></svg><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("CDATA in svg") << u"<svg><![CDATA[ a > <title>No</title> ]]></svg><title>Yes</title>"_s
                                  << u"Yes"_s;
    QTest::newRow("CDATA outside svg is a bogus comment")
        << u"<![CDATA[ > <title>Yes</title> ]]>"_s << u"Yes"_s;
    QTest::newRow("HTML inside svg desc") << u"<svg><desc><title>Page</title></desc></svg>"_s << u"Page"_s;
    QTest::newRow("HTML inside svg foreignObject")
        << u"<svg><foreignObject><title>Page</title>"_s << u"Page"_s;
    QTest::newRow("svg inside svg title") << u"<svg><title><svg><title>Icon</title>"_s << none;
    QTest::newRow("HTML inside MathML mi") << u"<math><mi><title>Page</title></mi></math>"_s << u"Page"_s;
    QTest::newRow("HTML annotation") << u"<math><annotation-xml encoding=\"Text/HTML\"><title>Page</title>"_s
                                     << u"Page"_s;
    QTest::newRow("other annotation") << u"<math><annotation-xml><title>No</title>"_s << none;
    // A template's content is not in the document.
    QTest::newRow("template") << u"<template><title>No</title></template><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("nested templates")
        << u"<template><template></template><title>No</title></template><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("</template> closes svg") << u"<template><svg></template><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("<template> in svg is svg") << u"<svg><template></svg><title>Yes</title>"_s << u"Yes"_s;
    // A frameset replaces the body.
    QTest::newRow("title after a frameset") << u"<frameset><title>No</title></frameset>"_s << none;
    QTest::newRow("title after a frameset after the head")
        << u"<head></head><frameset><noframes><title>No</title></noframes></frameset><title>No</title>"_s
        << none;
    QTest::newRow("frameset after a template in the head")
        << u"<template>text<img></template><p><frameset><title>No</title>"_s << none;
    QTest::newRow("frameset after <body> is ignored") << u"<body><frameset><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("frameset after text is ignored") << u"<p>text<frameset><title>Yes</title>"_s << u"Yes"_s;
    QTest::newRow("frameset takes the body's title away") << u"<p><title>No</title><frameset>"_s << none;
    QTest::newRow("frameset leaves the head's title") << u"<title>Yes</title><frameset>"_s << u"Yes"_s;
}

// Every rule holds for text in memory and, stored as UTF-8, for the page read from its file.
void TitleTest::rules() {
    QFETCH(QString, page);
    QFETCH(QString, title);
    const std::optional<QString> expected = title.isNull() ? std::nullopt : std::optional(title);
    QCOMPARE(FindTitle(page), expected);
    const QString path = WriteFixture(dir.path(), u"rules.htm"_s, page.toUtf8());
    QCOMPARE(ReadPageTitle(path), expected);
    QCOMPARE(FolderPageReader(dir.path()).read(u"rules.htm"_s).title, expected);
    QCOMPARE(ExtractTitle(path), title.isNull() ? path : title);
}

// A title as document.title gives it: ASCII whitespace runs as one space, ends trimmed; none when
// that leaves nothing.
static QString BrowserTitle(const QString& text) {
    QStringList words;
    QString word;
    for (const QChar c : text + u' ') {
        if (c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r' || c == u' ') {
            if (!word.isEmpty())
                words.append(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words.isEmpty() ? QString() : words.join(u' ');
}

// The text of the first HTML title element of an html5lib tree dump ("| " lines, two spaces a
// level; a text node's lines may run on), outside any template's content; null when there is none.
static QString FirstTitleOfTree(const QString& dump) {
    struct Node {
        int depth;
        QString text;
    };
    QList<Node> nodes;
    for (const QString& line : dump.split(u'\n')) {
        if (line.startsWith(u"| "_s)) {
            const QString rest = line.mid(2);
            qsizetype indent = 0;
            while (indent < rest.size() && rest[indent] == u' ')
                ++indent;
            nodes.append({int(indent / 2), rest.mid(indent)});
        } else if (!nodes.isEmpty()) {
            nodes.last().text += u'\n' + line;
        }
    }
    int contentDepth = -1;
    for (qsizetype k = 0; k < nodes.size(); ++k) {
        if (contentDepth >= 0 && nodes[k].depth <= contentDepth)
            contentDepth = -1;
        if (contentDepth >= 0)
            continue;
        if (nodes[k].text == u"content"_s) {
            contentDepth = nodes[k].depth;
            continue;
        }
        if (nodes[k].text != u"<title>"_s)
            continue;
        QString title = u""_s;
        for (qsizetype j = k + 1; j < nodes.size() && nodes[j].depth > nodes[k].depth; ++j) {
            const QString& t = nodes[j].text;
            if (nodes[j].depth == nodes[k].depth + 1 && t.size() >= 2 && t.startsWith(u'"') &&
                t.endsWith(u'"'))
                title += t.mid(1, t.size() - 2);
        }
        return title;
    }
    return {};
}

// Every document case of html5lib's tree-construction tests: the reader's title, its references
// resolved, is the first HTML title of the tree a browser builds (none when that is blank).
void TitleTest::treeConstruction_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("title"); // null: none
    const QString conformance = ConformanceDir();
    if (conformance.isEmpty())
        QSKIP(
            "no conformance data: set PAGEWICK_CONFORMANCE or put shared/conformance beside the source tree");
    const QDir dir(conformance + u"/html5lib-tests/tree-construction"_s);
    const QStringList files = dir.entryList({u"*.dat"_s}, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString all = QString::fromUtf8(file.readAll());
        qsizetype at = all.startsWith(u"#data\n"_s) ? 0 : -1;
        for (int index = 0; at >= 0; ++index) {
            qsizetype next = all.indexOf(u"\n\n#data\n"_s, at + 1);
            const QString block = all.mid(at, next < 0 ? -1 : next - at);
            at = next < 0 ? -1 : next + 2;
            const qsizetype errors = block.indexOf(u"\n#errors\n"_s);
            const qsizetype document = block.indexOf(u"\n#document\n"_s);
            // Fragments are not pages; a case for a parser without scripting is not how a browser
            // (nor the reader, which takes <noscript> as raw text) reads a page.
            if (errors < 0 || document < 0 || block.contains(u"\n#document-fragment\n"_s) ||
                block.contains(u"\n#script-off\n"_s))
                continue;
            const QByteArray data = block.mid(6, errors - 6).toUtf8();
            QTest::addRow("%s:%d", qPrintable(name), index)
                << data << BrowserTitle(FirstTitleOfTree(block.mid(document + 11)));
        }
    }
}

void TitleTest::treeConstruction() {
    QFETCH(QByteArray, page);
    QFETCH(QString, title);
    detail::MemorySource source(page);
    const std::optional<QString> found = detail::ReadPage(source, WantTitle).title;
    QCOMPARE(found ? BrowserTitle(ResolveCharacterReferences(*found)) : QString(), title);
    QCOMPARE(FindTitle(QString::fromUtf8(page)), found);
}

void TitleTest::tagAcrossChunks_data() {
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<bool>("byteOrderMark");
    QTest::addColumn<QByteArray>("filler");
    QTest::addColumn<int>("offset"); // in characters
    // The reader takes 4 KiB first, then twice as much at each read up to 256 KiB: put the tags
    // across the first of those edges, round 16 and 80 KiB, and at 1 MiB, past the first
    // stretches read without tokenizing.
    const QByteArray title = "<title>Boundary title</title>";
    QList<int> offsets{0, 200000, 1 << 20};
    for (int edge : {4096, 8192, 12288, 16384, 28672, 32768, 61440, 65536, 16384 + 65536, 1 << 20}) {
        for (int shift = -8; shift <= 1; ++shift)
            offsets << edge + shift; // the opening tag
        for (int shift = -3; shift <= 3; ++shift)
            offsets << edge - int(title.size()) + 8 + shift; // the closing tag
    }
    struct Form {
        const char* encoding;
        bool bom;
    };
    for (const Form form : {Form{"UTF-8", false}, Form{"UTF-16LE", true}, Form{"UTF-16BE", false}}) {
        for (const char* filler : {"x <p>", "<titl>"}) {
            for (const int offset : offsets) {
                QTest::addRow("%s%s, filler %s, at %d", form.encoding, form.bom ? " with BOM" : "", filler,
                              offset)
                    << QByteArray(form.encoding) << form.bom << QByteArray(filler) << offset;
            }
        }
    }
}

void TitleTest::tagAcrossChunks() {
    QFETCH(QByteArray, encoding);
    QFETCH(bool, byteOrderMark);
    QFETCH(QByteArray, filler);
    QFETCH(int, offset);
    QString text = QString::fromLatin1(filler.repeated(offset / filler.size() + 1).left(offset));
    // A filler cut inside a tag would swallow the title's tag into its own, as in a browser.
    if (const qsizetype open = text.lastIndexOf(u'<'); open > text.lastIndexOf(u'>'))
        text.replace(open, text.size() - open, QString(text.size() - open, u' '));
    text += u"<title>Boundary title</title>"_s + QString(1000, u'z');
    QStringEncoder encoder(encoding.constData(),
                           byteOrderMark ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
    const QString path = WriteFixture(dir.path(), u"chunks.htm"_s, encoder.encode(text));
    QCOMPARE(ReadPageTitle(path), std::optional(u"Boundary title"_s));
}

void TitleTest::longTitle_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");
    QTest::newRow("beyond 32,767 characters") << 40000 << 100000;
    // Past 1 MiB the title's text is dropped.
    QTest::newRow("longer than the reader keeps") << 100 << 3 * 1024 * 1024;
    QTest::newRow("long and far") << 5 * 1024 * 1024 << 2 * 1024 * 1024;
}

void TitleTest::longTitle() {
    QFETCH(int, offset);
    QFETCH(int, length);
    QByteArray title = QByteArray("word ").repeated(length / 5 + 1).left(length).trimmed();
    title[length / 2] = 'X';
    const QByteArray page = QByteArray(offset, '.') + "<title>" + title + "</title>";
    const QString path = WriteFixture(dir.path(), u"long.htm"_s, page);
    QCOMPARE(ReadPageTitle(path), std::optional(QString::fromLatin1(title.left(1024 * 1024).trimmed())));
}

void TitleTest::longOpeningTag_data() {
    QTest::addColumn<int>("length");
    QTest::newRow("short") << 100;
    QTest::newRow("across reads") << 20000;
    QTest::newRow("megabytes") << 3 * 1024 * 1024;
}

void TitleTest::longOpeningTag() {
    // A quoted attribute value may hold ">" and "<title>": the tag ends at the ">" after the quote.
    QFETCH(int, length);
    const QByteArray value = QByteArray("a>b <title>Wrong</title> ").repeated(length / 25 + 1).left(length);
    const QByteArray page = "<title data-x='" + value + "' lang=en>Right</title>";
    const QString path = WriteFixture(dir.path(), u"tag.htm"_s, page);
    QCOMPARE(ReadPageTitle(path), std::optional(u"Right"_s));
    QCOMPARE(FindTitle(QString::fromLatin1(page)), std::optional(u"Right"_s));
}

static long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void TitleTest::bigPageCostsLittleMemory_data() {
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<bool>("titled"); // the page's text from the start of its body is its title
    QTest::newRow("no title") << QByteArray("<html><head>") << false;
    QTest::newRow("title never closed") << QByteArray("<html><head><title>") << true;
    QTest::newRow("opening tag never closed") << QByteArray("<html><head><title data-x=\"") << false;
}

void TitleTest::bigPageCostsLittleMemory() {
    QFETCH(QByteArray, start);
    QFETCH(bool, titled);
    // 48 MiB without a title: reading it must not hold the page in memory.
    const QString path = dir.path() + u"/big.htm"_s;
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(start);
        const QByteArray block = QByteArray("<p>Lorem ipsum dolor sit amet.</p>\n").repeated(30000);
        for (qint64 written = 0; written < 48 << 20; written += block.size())
            QCOMPARE(file.write(block), block.size());
    }
    const long before = PeakKilobytes();
    const std::optional<QString> found = ReadPageTitle(path);
    QCOMPARE(bool(found), titled);
    if (titled)
        QVERIFY(found->startsWith(u"<p>Lorem ipsum dolor sit amet.</p> <p>Lorem"_s));
    QVERIFY2(PeakKilobytes() - before < 16 * 1024, "reading the page raised peak memory by 16 MiB or more");
    QFile::remove(path);
}

void TitleTest::everyPageEnds_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<qint64>("hole"); // a hole this long after "before" (sparse, costs no disk)
    QTest::addColumn<qint64>("data"); // then this many bytes of real data ("x")
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("title"); // null: none; "ab~" : "ab" and U+FFFD up to the kept length
    const qint64 GiB = 1LL << 30;
    QTest::newRow("1 TiB of hole, no title")
        << QByteArray("<html><head>") << 1024 * GiB << 0LL << QByteArray() << QString();
    QTest::newRow("a title beyond 300 GiB of hole")
        << QByteArray("<html>") << 300 * GiB << 0LL << QByteArray("<title>Far</title>") << u"Far"_s;
    QTest::newRow("a title around a 3 GiB hole")
        << QByteArray("<title>ab") << 3 * GiB << 0LL << QByteArray("cd</title>") << u"ab~"_s;
    QTest::newRow("a hole in the opening tag")
        << QByteArray("<title data-x='") << 2 * GiB << 0LL << QByteArray("'>Tag</title>") << u"Tag"_s;
    // Long stretches without "<title" are looked through quickly; what they open still counts.
    QTest::newRow("a script open across a long stretch")
        << QByteArray("<html><body><script>") << 0LL << 3LL * 1024 * 1024
        << QByteArray("<title>Fake</title></script><title>Real</title>") << u"Real"_s;
    QTest::newRow("a comment open across a long stretch")
        << QByteArray("<html><body><!--") << 0LL << 3LL * 1024 * 1024
        << QByteArray("<title>Fake</title>--><title>Real</title>") << u"Real"_s;
    QTest::newRow("a quoted value open across a long stretch")
        << QByteArray("<html><body><a title='") << 0LL << 3LL * 1024 * 1024
        << QByteArray("<title>Fake</title>'><title>Real</title>") << u"Real"_s;
    QTest::newRow("an svg open across a long stretch")
        << QByteArray("<html><body><svg>") << 0LL << 3LL * 1024 * 1024
        << QByteArray("<title>Icon</title></svg><title>Real</title>") << u"Real"_s;
    QTest::newRow("a template open across a long stretch")
        << QByteArray("<html><body><template>") << 0LL << 3LL * 1024 * 1024
        << QByteArray("<title>Fake</title></template><title>Real</title>") << u"Real"_s;
    QTest::newRow("a title past 256 MiB of data") << QByteArray("<html>") << 0LL << 257LL * 1024 * 1024
                                                  << QByteArray("<title>Too far</title>") << QString();
}

// Every page ends, in bounded memory: holes are skipped, not read; past 256 MiB of page data no
// title is looked for; at most 1 MiB of title text is kept.
void TitleTest::everyPageEnds() {
    QFETCH(QByteArray, before);
    QFETCH(qint64, hole);
    QFETCH(qint64, data);
    QFETCH(QByteArray, after);
    QFETCH(QString, title);
    const QString path = dir.path() + u"/sparse.htm"_s;
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(before), before.size());
        if (hole) {
            // ftruncate leaves a hole; writing after it keeps it one.
            QVERIFY(file.resize(before.size() + hole));
            QVERIFY(file.seek(before.size() + hole));
        }
        const QByteArray block(1 << 20, 'x');
        for (qint64 written = 0; written < data; written += block.size())
            QCOMPARE(file.write(block), block.size());
        QCOMPARE(file.write(after), after.size());
    }
    const long peakBefore = PeakKilobytes();
    const std::optional<QString> found = ReadPageTitle(path);
    QVERIFY2(PeakKilobytes() - peakBefore < 64 * 1024,
             "reading the page raised peak memory by 64 MiB or more");
    if (title == u"ab~"_s) {
        QVERIFY(found);
        QCOMPARE(found->size(), 1024 * 1024);
        QCOMPARE(found->left(3), u"ab\uFFFD"_s);
        QCOMPARE(found->back(), QChar(QChar::ReplacementCharacter));
    } else {
        QCOMPARE(found, title.isNull() ? std::nullopt : std::optional(title));
    }
    QFile::remove(path);
}

void TitleTest::notARegularFile_data() {
    QTest::addColumn<QString>("relative");
    QTest::newRow("FIFO") << u"pipe.htm"_s;
    QTest::newRow("folder") << u"folder.htm"_s;
    QTest::newRow("missing") << u"gone.htm"_s;
    QTest::newRow("under a regular file") << u"page.htm/sub.htm"_s;
    QTest::newRow("broken link") << u"broken.htm"_s;
}

void TitleTest::notARegularFile() {
    QFETCH(QString, relative);
    QTemporaryDir here;
    const QString d = here.path();
    WriteFixture(d, u"page.htm"_s, "<title>Page</title>");
    // Nobody writes to the FIFO: a reader that opened it for reading in blocking mode would hang here.
    QCOMPARE(::mkfifo(QFile::encodeName(d + u"/pipe.htm"_s).constData(), 0600), 0);
    QVERIFY(QDir(d).mkdir(u"folder.htm"_s));
    QVERIFY(QFile::link(d + u"/nothing.htm"_s, d + u"/broken.htm"_s));

    const QString path = d + u'/' + relative;
    QCOMPARE(ReadPageTitle(path), std::nullopt);
    QCOMPARE(FolderPageReader(d).read(relative).title, std::nullopt);
    QCOMPARE(FolderPageReader(d + u"/missing-folder"_s).read(relative).title, std::nullopt);
    QCOMPARE(ExtractTitle(path), path);
}

// Line breaks in a title are whitespace, collapsed with the rest as a browser's title bar shows
// them, so every title stays on one line of the index and the feeds.
void TitleTest::lineBreaksInTitle_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("flat");
    QTest::newRow("CR LF") << u"a\r\nb"_s << u"a b"_s;
    QTest::newRow("lone CR") << u"a\rb"_s << u"a b"_s;
    QTest::newRow("LFs around and within") << u"\n\na\n\nb\n"_s << u"a b"_s;
    QTest::newRow("tab and form feed too") << u"a\tb\fc"_s << u"a b c"_s;
}

void TitleTest::lineBreaksInTitle() {
    QFETCH(QString, text);
    QFETCH(QString, flat);
    QCOMPARE(FindTitle(u"<title>"_s + text + u"</title>"_s), flat);
}

void TitleTest::pageRecord_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<PageWants>("wants");
    QTest::addColumn<QString>("title");       // null: none
    QTest::addColumn<QString>("date");        // ISO 8601 UTC; "mtime": the file's modification time
    QTest::addColumn<QString>("description"); // null: none
    const QString none;
    const PageWants both = WantDate | WantDescription;
    QTest::newRow("title only: nothing else read")
        << QByteArray("<meta name=description content=D><meta name=date content=2024-05-01><title>T</title>")
        << PageWants(WantTitle) << u"T"_s << QString() << none;
    QTest::newRow("description as text")
        << QByteArray("<head><meta name=\"Description\" content=\" A &amp; B\n &eacute;&#x41;&#66 &bogus; \">"
                      "<title>T</title></head>")
        << both << u"T"_s << u"mtime"_s << u"A & B \u00e9AB &bogus;"_s;
    QTest::newRow("after the title, still in the head")
        << QByteArray("<title>T</title><meta content='D' name='description'><meta name=date "
                      "content=2024-05-01T10:00:00+02:00></head>")
        << both << u"T"_s << u"2024-05-01T08:00:00Z"_s << u"D"_s;
    QTest::newRow("after the head: not the page's")
        << QByteArray(
               "<title>T</title></head><meta name=description content=D><meta name=date content=2024-05-01>")
        << both << u"T"_s << u"mtime"_s << none;
    QTest::newRow("after <body>: not the page's")
        << QByteArray("<title>T</title><body><meta name=description content=D>") << both << u"T"_s
        << u"mtime"_s << none;
    QTest::newRow("names in any case; no value carried from one tag to the next")
        << QByteArray("<meta name=\" DATE \" content=\"2023-01-02T03:04:05Z\"><meta name=viewport "
                      "content=\"width=device-width\"><meta NAME=Description><meta "
                      "property=ARTICLE:PUBLISHED_TIME content=2020-01-01><title>T</title>")
        << both << u"T"_s << u"2023-01-02T03:04:05Z"_s << none;
    QTest::newRow("published time")
        << QByteArray("<meta property=\"article:published_time\" content=\"2023-01-02\"><title>T</title>")
        << PageWants(WantDate) << u"T"_s << u"2023-01-02T00:00:00Z"_s << none;
    QTest::newRow("date without an offset is UTC")
        << QByteArray("<meta name=date content=\"2023-01-02T03:04:05\"><title>T</title>")
        << PageWants(WantDate) << u"T"_s << u"2023-01-02T03:04:05Z"_s << none;
    QTest::newRow("not a date") << QByteArray("<meta name=date content=\"last tuesday\"><title>T</title>")
                                << PageWants(WantDate) << u"T"_s << u"mtime"_s << none;
    QTest::newRow("in a comment or a script")
        << QByteArray("<!-- <meta name=description content=C> --><script><meta name=description "
                      "content=S></script><title>T</title>")
        << both << u"T"_s << u"mtime"_s << none;
    QTest::newRow("empty description") << QByteArray("<meta name=description content=\" \"><title>T</title>")
                                       << both << u"T"_s << u"mtime"_s << none;
    QTest::newRow("legacy encoding")
        << QByteArray(
               "<meta charset=windows-1251><meta name=description content=\"\xcf\xf0\xe8\xe2\xe5\xf2\">"
               "<title>\xcc\xe8\xf0</title>")
        << both << u"\u041c\u0438\u0440"_s << u"mtime"_s << u"\u041f\u0440\u0438\u0432\u0435\u0442"_s;
    // The title's bytes read as the page's decoder reads them, where the end tag's "<" follows.
    QTest::newRow("a sequence the end tag cuts short gives back its bytes")
        << QByteArray("<meta charset=gb18030><title>\x81\x30\x81</title>") << PageWants(WantTitle)
        << u"\uFFFD0\uFFFD"_s << QString() << none;
    QTest::newRow("a lead byte before the end tag")
        << QByteArray("<meta charset=shift_jis><title>a\x82</title>") << PageWants(WantTitle) << u"a\uFFFD"_s
        << QString() << none;
    QTest::newRow("a high surrogate before the end tag")
        << QByteArray("\xFF\xFE<\0t\0i\0t\0l\0e\0>\0a\0\x3D\xD8<\0/\0t\0i\0t\0l\0e\0>\0", 36)
        << PageWants(WantTitle) << u"a\uFFFD"_s << QString() << none;
    QTest::newRow("ISO-2022-JP: shift-out in an ASCII title")
        << QByteArray("<meta charset=iso-2022-jp><title>\x0Ex\x0F</title>") << PageWants(WantTitle)
        << u"\uFFFDx\uFFFD"_s << QString() << none;
    QTest::newRow("ISO-2022-JP: the two-byte set open at the end tag")
        << QByteArray("<meta charset=iso-2022-jp><title>\x1B$B$\"F</title>") << PageWants(WantTitle)
        << u"\u3042\uFFFD"_s << QString() << none;
    QTest::newRow("ISO-2022-JP: an escape cut short by the end tag")
        << QByteArray("<meta charset=iso-2022-jp><title>a\x1B</title>") << PageWants(WantTitle)
        << u"a\uFFFD"_s << QString() << none;
    QTest::newRow("shift-out, undeclared")
        << QByteArray("<title>\x0Ex</title>") << PageWants(WantTitle) << u"\x0Ex"_s << QString() << none;
    // A declaration past the first 1,024 bytes, after the title but still in the head, decodes it.
    const QByteArray comment = "<!--" + QByteArray(1100, ' ') + "-->";
    QTest::newRow("declared after the title, in the head")
        << comment + "<title>\xcc\xe8\xf0</title><link rel=icon href=x><meta charset=windows-1251></head>"
        << PageWants(WantTitle) << u"\u041c\u0438\u0440"_s << QString() << none;
    // An encoding browsers refuse decodes every page to one U+FFFD: no title, however late it is declared.
    QTest::newRow("refused encoding declared late, before the title")
        << comment + "<meta charset=iso-2022-kr><title>Hi</title><meta name=description content=D>" << both
        << none << u"mtime"_s << none;
    QTest::newRow("refused encoding declared after a title not in ASCII")
        << comment + "<title>caf\xc3\xa9</title><meta charset=hz-gb-2312>" << PageWants(WantTitle) << none
        << QString() << none;
    QTest::newRow("declared after the head")
        << comment + "<title>caf\xc3\xa9</title></head><meta charset=windows-1251>" << PageWants(WantTitle)
        << u"caf\u00e9"_s << QString() << none;
    QTest::newRow("declared after an element of the body")
        << comment + "<title>caf\xc3\xa9</title><div></div><meta charset=windows-1251>"
        << PageWants(WantTitle) << u"caf\u00e9"_s << QString() << none;
    QTest::newRow("declared after the title, past what may stand in the head")
        << comment + "<title>\xcc\xe8\xf0</title><noscript></noscript><object></object><base><head>"
                     "<meta charset=windows-1251>"
        << PageWants(WantTitle) << u"\u041c\u0438\u0440"_s << QString() << none;
    QTest::newRow("declared after an end tag of the body")
        << comment + "<title>caf\xc3\xa9</title></p><meta charset=windows-1251>" << PageWants(WantTitle)
        << u"caf\u00e9"_s << QString() << none;
    QTest::newRow("no title, a description")
        << QByteArray("<meta name=description content=D>") << both << none << u"mtime"_s << u"D"_s;
}

// What the one page reader gives the outputs that want more than a title.
void TitleTest::pageRecord() {
    QFETCH(QByteArray, page);
    QFETCH(PageWants, wants);
    QFETCH(QString, title);
    QFETCH(QString, date);
    QFETCH(QString, description);
    const QString path = WriteFixture(dir.path(), u"record.htm"_s, page);
    const QDateTime mtime(QDate(2020, 2, 3), QTime(4, 5, 6), Qt::UTC);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(mtime, QFileDevice::FileModificationTime));
    }
    const PageRecord record = FolderPageReader(dir.path()).read(u"record.htm"_s, wants);
    QCOMPARE(record.name, u"record.htm"_s);
    QCOMPARE(record.title, title.isNull() ? std::nullopt : std::optional(title));
    if (date.isNull())
        QVERIFY(!record.date.isValid());
    else
        QCOMPARE(record.date, date == u"mtime"_s ? mtime : QDateTime::fromString(date, Qt::ISODate));
    QCOMPARE(record.description, description.isNull() ? std::nullopt : std::optional(description));
    QCOMPARE(ReadPages(dir.path(), {u"record.htm"_s}, wants).first().description, record.description);
}

// The browser corpus (tests/browser): small pages with the title headless Chromium gave each, as
// document.title reads it (tools/browser-titles). Every page is a row; the pages listed in
// known-differences.txt are expected to differ still, each for the reason given there.
void TitleTest::browserCorpus_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("browserTitle"); // empty: the browser shows no title
    QTest::addColumn<QString>("knownDifference");
    const QString folder = QStringLiteral(PAGEWICK_BROWSER_CORPUS);
    QFile answersFile(folder + u"/chromium-titles.json"_s);
    QVERIFY(answersFile.open(QIODevice::ReadOnly));
    QJsonParseError error{};
    const QJsonDocument answers = QJsonDocument::fromJson(answersFile.readAll(), &error);
    QVERIFY2(!answers.isNull(), qPrintable(error.errorString()));
    QFile knownFile(folder + u"/known-differences.txt"_s);
    QVERIFY(knownFile.open(QIODevice::ReadOnly | QIODevice::Text));
    QHash<QString, QString> known;
    for (const QString& line : QString::fromUtf8(knownFile.readAll()).split(u'\n')) {
        if (!line.isEmpty() && !line.startsWith(u'#'))
            known.insert(line.section(u'\t', 0, 0), line.section(u'\t', 1));
    }
    const QJsonObject pages = answers[u"pages"_s].toObject();
    QVERIFY(pages.size() >= 300);
    for (auto page = pages.begin(); page != pages.end(); ++page) {
        QTest::newRow(qPrintable(page.key()))
            << page.key() << page->toObject()[u"title"_s].toString() << known.take(page.key());
    }
    QVERIFY2(known.isEmpty(), qPrintable(u"known differences for pages not in the corpus: "_s +
                                         QStringList(known.keys()).join(u", "_s)));
    // Every page of the corpus has the browser's answer (tools/browser-titles writes them all).
    QStringList unanswered = QDir(folder + u"/corpus"_s).entryList(QDir::Files);
    unanswered.removeIf([&pages](const QString& name) { return pages.contains(name); });
    QVERIFY2(unanswered.isEmpty(),
             qPrintable(u"pages without the browser's answer: "_s + unanswered.join(u", "_s)));
}

void TitleTest::browserCorpus() {
    QFETCH(QString, page);
    QFETCH(QString, browserTitle);
    QFETCH(QString, knownDifference);
    const std::optional<QString> title =
        FolderPageReader(QStringLiteral(PAGEWICK_BROWSER_CORPUS) + u"/corpus"_s).read(page).title;
    // The title as document.title reads it: references resolved once, ASCII whitespace stripped and
    // collapsed. A page without a title is labelled with its path where the browser shows "".
    // (QString::trimmed would take U+00A0 and U+3000 too.)
    static const QRegularExpression asciiWhitespace(u"[\\t\\n\\f\\r ]+"_s);
    static const QRegularExpression asciiWhitespaceAtEnds(u"^ | $"_s);
    QString read = u"(no title)"_s;
    if (title) {
        read =
            ResolveCharacterReferences(*title).replace(asciiWhitespace, u" "_s).remove(asciiWhitespaceAtEnds);
        if (read.isEmpty())
            read = u"(reads empty) "_s + *title;
    }
    if (!knownDifference.isEmpty())
        QEXPECT_FAIL("", qPrintable(knownDifference), Continue);
    QCOMPARE(read, browserTitle.isEmpty() ? u"(no title)"_s : browserTitle);
}

QTEST_GUILESS_MAIN(TitleTest)
#include "tst_title.moc"
