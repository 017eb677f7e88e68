#include "engine/feed.h"
#include "engine/paths.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace pagewick;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Item {
    QString title, description, link;
};

struct Feed {
    QString error; // empty when the text parsed
    QString title, link, description;
    QList<Item> items;
};

// Reads the feed with a real XML parser; the texts are what a feed reader would show.
Feed Parse(const QString& feedText) {
    Feed feed;
    QXmlStreamReader xml(feedText);
    while (xml.readNextStartElement()) {
        if (xml.name() == u"rss" || xml.name() == u"channel")
            continue; // descend
        if (xml.name() == u"item") {
            Item item;
            while (xml.readNextStartElement()) {
                QString* field = xml.name() == u"title"         ? &item.title
                                 : xml.name() == u"description" ? &item.description
                                                                : &item.link;
                *field = xml.readElementText();
            }
            feed.items << item;
        } else {
            QString* field = xml.name() == u"title"  ? &feed.title
                             : xml.name() == u"link" ? &feed.link
                                                     : &feed.description;
            *field = xml.readElementText();
        }
    }
    if (xml.hasError())
        feed.error = xml.errorString();
    return feed;
}

void WritePage(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(content);
}

} // namespace

class TestFeed : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void makeXmlSafe_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << u"Tom, Jerry \"q\" 'co'"_s << u"Tom, Jerry \"q\" 'co'"_s;
        QTest::newRow("predefined stay") << u"&amp;&lt;&gt;&quot;&apos;"_s << u"&amp;&lt;&gt;&quot;&apos;"_s;
        QTest::newRow("bare ampersand") << u"R&D & more &"_s << u"R&amp;D &amp; more &amp;"_s;
        QTest::newRow("named to character") << u"&hellip;&nbsp;&eacute;"_s << u"\u2026\u00A0\u00E9"_s;
        QTest::newRow("named to escaped") << u"&LT;&AMP;&nvlt;"_s << u"&lt;&amp;&lt;\u20D2"_s;
        QTest::newRow("named outside the BMP") << u"&Afr;"_s << u"\U0001D504"_s;
        QTest::newRow("unknown name") << u"&bogus;"_s << u"&amp;bogus;"_s;
        QTest::newRow("no semicolon") << u"&nbsp x &eacute"_s << u"&amp;nbsp x &amp;eacute"_s;
        QTest::newRow("not a name") << u"&; &-x; &&amp;"_s << u"&amp;; &amp;-x; &amp;&amp;"_s;
        QTest::newRow("angle brackets") << u"<b>]]></b>"_s << u"&lt;b&gt;]]&gt;&lt;/b&gt;"_s;
        QTest::newRow("numeric stay") << u"&#65;&#x41;&#x1D504;&#0065;"_s << u"&#65;&#x41;&#x1D504;&#0065;"_s;
        QTest::newRow("capital X made small") << u"&#X41;"_s << u"&#x41;"_s;
        QTest::newRow("numeric to forbidden") << u"&#0;&#x1;&#xFFFE;&#xD800;&#x110000;"_s
                                              << u"&amp;#0;&amp;#x1;&amp;#xFFFE;&amp;#xD800;&amp;#x110000;"_s;
        QTest::newRow("numeric too big to wrap")
            << u"&#4294967361;&#x100000041;"_s << u"&amp;#4294967361;&amp;#x100000041;"_s;
        QTest::newRow("numeric incomplete")
            << u"&#; &#x; &#65 &#xG;"_s << u"&amp;#; &amp;#x; &amp;#65 &amp;#xG;"_s;
        QTest::newRow("controls dropped") << u"a\0b\x01\x08\x0B\x0C\x1F\x7F"_s << u"ab\x7F"_s;
        QTest::newRow("tab LF CR kept") << u"a\tb\nc\rd"_s << u"a\tb\nc\rd"_s;
        QTest::newRow("lone surrogates dropped")
            << u"a"_s + QChar(0xD800) + u"b"_s + QChar(0xDC80) + QChar(0xD800) << u"ab"_s;
        QTest::newRow("pair kept") << u"\U0001F600"_s << u"\U0001F600"_s;
        QTest::newRow("non-characters") << u"\uFFFD\uFFFE\uFFFF"_s << u"\uFFFD"_s;
    }
    void makeXmlSafe() {
        QFETCH(QString, html);
        QFETCH(QString, expected);
        QCOMPARE(MakeXmlSafe(html), expected);
    }

    void format_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("items"); // DIR stands for the folder
        QTest::newRow("empty list") << QStringList() << QString();
        QTest::newRow("two pages")
            << QStringList{u"a.htm"_s, u"b.html"_s}
            << u"<item>\r\n<title>Alpha</title>\r\n<description>Alpha</description>\r\n"
               "<link>http://example.org/a.htm</link>\r\n</item>"
               "<item>\r\n<title>DIR/b.html</title>\r\n<description>DIR/b.html</description>\r\n"
               "<link>http://example.org/b.html</link>\r\n</item>"_s;
    }
    void format() {
        QFETCH(QStringList, names);
        QFETCH(QString, items);
        QTemporaryDir dir;
        WritePage(dir.filePath(u"a.htm"_s), "<html><head><title>Alpha</title></head></html>");
        WritePage(dir.filePath(u"b.html"_s), "<html><body>no title</body></html>");
        const QString expected = u"<?xml version=\"1.0\"?><rss version=\"2.0\"><channel>\r\n"
                                 "<title>News</title><link>http://example.org</link>"
                                 "<description>News</description>\r\n"_s +
                                 QString(items).replace(u"DIR"_s, dir.path()) + u"</channel></rss>"_s;
        QCOMPARE(BuildFeedText(dir.path(), names, u"News"_s, u"http://example.org"_s), expected);
    }

    void links_data() {
        QTest::addColumn<QString>("siteUrl");
        QTest::addColumn<QString>("channelLink");
        QTest::addColumn<QString>("itemLink");
        QTest::newRow("slash added") << u"http://x.org"_s << u"http://x.org"_s
                                     << u"http://x.org/my%20page.htm"_s;
        QTest::newRow("slash kept") << u"http://x.org/"_s << u"http://x.org/"_s
                                    << u"http://x.org/my%20page.htm"_s;
        QTest::newRow("empty") << QString() << QString() << u"/my%20page.htm"_s;
        QTest::newRow("query made safe") << u"http://x.org/?a=1&b=2"_s << u"http://x.org/?a=1&b=2"_s
                                         << u"http://x.org/?a=1&b=2/my%20page.htm"_s;
    }
    void links() {
        QFETCH(QString, siteUrl);
        QTemporaryDir dir;
        const Feed feed = Parse(BuildFeedText(dir.path(), {u"my page.htm"_s}, u"T"_s, siteUrl));
        QCOMPARE(feed.error, QString());
        QTEST(feed.link, "channelLink");
        QCOMPARE(feed.items.size(), 1);
        QTEST(feed.items[0].link, "itemLink");
    }

    // Page titles as written in the page, and what a feed reader shows for them.
    void hostileTitles_data() {
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QString>("shown");
        QTest::newRow("e-acute") << "Caf&eacute;"_ba << u"Caf\u00E9"_s;
        QTest::newRow("look-alike") << "&copy; 2024"_ba << u"(c) 2024"_s;
        QTest::newRow("ampersand") << "Tom & Jerry"_ba << u"Tom & Jerry"_s;
        QTest::newRow("escaped ampersand") << "Tom &amp; Jerry"_ba << u"Tom & Jerry"_s;
        QTest::newRow("angle brackets") << "a <b> c"_ba << u"a <b> c"_s;
        QTest::newRow("cdata end") << "x]]>y"_ba << u"x]]>y"_s;
        QTest::newRow("quotes") << "\"q\" 'a'"_ba << u"\"q\" 'a'"_s;
        QTest::newRow("nbsp no semicolon") << "a&nbspb"_ba << u"a&nbspb"_s;
        QTest::newRow("nul reference") << "a&#0;b"_ba << u"a&#0;b"_s;
        QTest::newRow("unknown reference") << "&bogus;"_ba << u"&bogus;"_s;
        QTest::newRow("html-only reference") << "&hellip;&mdash;"_ba << u"\u2026\u2014"_s;
        // (How a NUL in a page is read is the title reader's business; answers and names cover it.)
        QTest::newRow("controls") << "a\001b\013\037c"_ba << u"abc"_s;
    }
    void hostileTitles() {
        QFETCH(QByteArray, title);
        QTemporaryDir dir;
        WritePage(dir.filePath(u"p.htm"_s), "<title>" + title + "</title>");
        const Feed feed = Parse(BuildFeedText(dir.path(), {u"p.htm"_s}, u"F"_s, u"http://x.org"_s));
        QCOMPARE(feed.error, QString());
        QCOMPARE(feed.items.size(), 1);
        QTEST(feed.items[0].title, "shown");
        QTEST(feed.items[0].description, "shown");
    }

    void hostileAnswers_data() {
        QTest::addColumn<QString>("feedTitle");
        QTest::addColumn<QString>("siteUrl");
        QTest::addColumn<QString>("shownTitle");
        QTest::addColumn<QString>("shownLink");
        QTest::newRow("markup") << u"<b>News</b> & ]]>"_s << u"http://x.org/<a>"_s << u"<b>News</b> & ]]>"_s
                                << u"http://x.org/<a>"_s;
        QTest::newRow("references") << u"&eacute;&bogus;&#0;&nbsp"_s << u"http://x.org/?a&amp;b"_s
                                    << u"\u00E9&bogus;&#0;&nbsp"_s << u"http://x.org/?a&b"_s;
        QTest::newRow("forbidden chars")
            << u"a\0b\x02"_s + QChar(0xDC80) + u"\uFFFF"_s << u"http://x.org/\x01"_s + QChar(0xD800)
            << u"ab"_s << u"http://x.org/"_s;
    }
    void hostileAnswers() {
        QFETCH(QString, feedTitle);
        QFETCH(QString, siteUrl);
        QTemporaryDir dir;
        const Feed feed = Parse(BuildFeedText(dir.path(), {u"a.htm"_s}, feedTitle, siteUrl));
        QCOMPARE(feed.error, QString());
        QTEST(feed.title, "shownTitle");
        QTEST(feed.description, "shownTitle");
        QTEST(feed.link, "shownLink");
        QCOMPARE(feed.items.size(), 1);
    }

    // Names of pages without a title: the label is the path as plain text, the link is encoded.
    void hostileNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shownName"); // the name as the label shows it
        QTest::newRow("references") << u"caf&eacute; &amp;.htm"_s << u"caf&eacute; &amp;.htm"_s;
        QTest::newRow("markup") << u"<i>]]>\".htm"_s << u"<i>]]>\".htm"_s;
        QTest::newRow("controls") << u"a\x01\tb.htm"_s << u"a\tb.htm"_s;
        QTest::newRow("nul") << u"a\0b.htm"_s << u"ab.htm"_s;
        QTest::newRow("lone surrogate") << QChar(0xDC80) + u"x.htm"_s << u"x.htm"_s;
    }
    void hostileNames() {
        QFETCH(QString, name);
        QFETCH(QString, shownName);
        QTemporaryDir dir;
        const Feed feed = Parse(BuildFeedText(dir.path(), {name}, u"F"_s, u"http://x.org/"_s));
        QCOMPARE(feed.error, QString());
        QCOMPARE(feed.items.size(), 1);
        QCOMPARE(feed.items[0].title, dir.path() + u'/' + shownName);
        QCOMPARE(feed.items[0].link, u"http://x.org/"_s + PercentEncodePathSegment(name));
    }

    // Everything at once, in one folder: still one feed, one item a page.
    void hostileFolder() {
        QTemporaryDir dir;
        const QList<QByteArray> titles = {"a & b",
                                          "<x>",
                                          "]]>",
                                          "&nbsp",
                                          "&#0;",
                                          "&bogus;",
                                          QByteArray("\0\x01", 2),
                                          "\"'",
                                          "&eacute;&E&ordf;cute;"};
        QStringList names;
        for (int i = 0; i < titles.size(); ++i) {
            names << u"p%1 &<>.htm"_s.arg(i);
            WritePage(dir.filePath(names.last()), "<title>" + titles[i] + "</title>");
        }
        names << u"missing & <gone>.htm"_s;
        const Feed feed = Parse(BuildFeedText(dir.path(), names, u"&<>\0"_s, u"]]>&"_s));
        QCOMPARE(feed.error, QString());
        QCOMPARE(feed.items.size(), names.size());
    }
};

QTEST_GUILESS_MAIN(TestFeed)
#include "tst_feed.moc"
