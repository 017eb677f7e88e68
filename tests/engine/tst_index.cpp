#include "engine/files/writefile.h"
#include "engine/output/index.h"
#include "engine/output/pagetemplate.h"
#include "engine/output/spool_p.h"
#include "fixture.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

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

QTEST_GUILESS_MAIN(IndexTest)
#include "tst_index.moc"
