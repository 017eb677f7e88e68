#include "engine/files/paths.h"
#include "engine/output/atom.h"
#include "engine/output/feed.h"
#include "engine/output/feeddate.h"
#include "engine/output/sitemap.h"
#include "engine/output/webaddress.h"
#include "engine/output/xmltext.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
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

QDateTime Utc(int year, int month, int day, int h, int m, int s) {
    return QDateTime(QDate(year, month, day), QTime(h, m, s), QTimeZone::utc());
}

// Two read pages as the formatters get them: one with title, date and description, one that
// could not be read at all.
QList<PageRecord> TwoPages() {
    return {
        PageRecord{u"a b.htm"_s, u"Caf&eacute; &amp; Co"_s, Utc(2024, 5, 3, 7, 8, 9), u"About <x> & &amp;"_s},
        PageRecord{u"gone.htm"_s, std::nullopt, {}, std::nullopt}};
}

// The schemas the new outputs are checked against, beside this file.
const QString SitemapSchema = QStringLiteral(SCHEMA_DIR "/sitemap.xsd");
const QString AtomSchema = QStringLiteral(SCHEMA_DIR "/atom.rng");

// xmllint's verdict on a text: empty when it is well-formed (and valid against the schema, when one
// is given), else what xmllint says.
QString XmlLint(const QString& text, const QString& schema = {}, const char* schemaOption = nullptr) {
    const QString xmllint = QStandardPaths::findExecutable(u"xmllint"_s);
    if (xmllint.isEmpty())
        return u"xmllint is not installed (tools/install-deps installs it)"_s;
    QTemporaryDir dir;
    QFile doc(dir.filePath(u"doc.xml"_s));
    if (!doc.open(QIODevice::WriteOnly) || doc.write(text.toUtf8()) < 0)
        return u"cannot write the file for xmllint"_s;
    doc.close();
    QStringList args{u"--noout"_s, u"--nonet"_s};
    if (schemaOption)
        args << QString::fromLatin1(schemaOption) << schema;
    args << doc.fileName();
    QProcess process;
    process.start(xmllint, args);
    if (!process.waitForFinished(60000))
        return u"xmllint did not finish"_s;
    return process.exitCode() == 0 ? QString() : QString::fromUtf8(process.readAllStandardError());
}

// The texts of an Atom feed's elements by path ("feed/title", "entry/summary", "link@rel=self"), in
// document order, as a feed reader would read them.
QMultiMap<QString, QString> ReadAtom(const QString& atomText, QString* error) {
    QMultiMap<QString, QString> values;
    QXmlStreamReader xml(atomText);
    QString at;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString();
            if (name == u"feed" || name == u"entry" || name == u"author") {
                at = name;
            } else if (name == u"link") {
                values.insert(at + u"/link@"_s + xml.attributes().value(QLatin1StringView("rel")).toString(),
                              xml.attributes().value(QLatin1StringView("href")).toString());
            } else {
                values.insert(at + u'/' + name, xml.readElementText());
            }
        } else if (xml.isEndElement() && (xml.name() == u"entry" || xml.name() == u"author")) {
            at = u"feed"_s;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return values;
}

} // namespace

class FeedTest : public QObject {
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
        QCOMPARE(BuildFeedText({.folderText = dir.path(),
                                .pageNames = names,
                                .feedTitle = u"News"_s,
                                .siteUrl = u"http://example.org"_s}),
                 expected);
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
        const Feed feed = Parse(BuildFeedText({.folderText = dir.path(),
                                               .pageNames = {u"my page.htm"_s},
                                               .feedTitle = u"T"_s,
                                               .siteUrl = siteUrl}));
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
        // References read as a browser reads them in a title.
        QTest::newRow("nbsp no semicolon") << "a&nbspb"_ba << u"a\u00A0b"_s;
        QTest::newRow("nul reference") << "a&#0;b"_ba << u"a\uFFFDb"_s;
        QTest::newRow("C1 references as windows-1252")
            << "&#146;&#150;&#128;&#x9F;"_ba << u"\u2019\u2013\u20AC\u0178"_s;
        QTest::newRow("surrogate, past U+10FFFF")
            << "&#xD800;&#x110000;&#99999999999;"_ba << u"\uFFFD\uFFFD\uFFFD"_s;
        QTest::newRow("legacy name without semicolon")
            << "&copy 2020 &eacutex"_ba << u"\u00A9 2020 \u00E9x"_s;
        QTest::newRow("longest legacy prefix") << "&notit; &notin;"_ba << u"\u00ACit; \u2209"_s;
        QTest::newRow("numeric without semicolon") << "&#65x &#x42"_ba << u"Ax B"_s;
        QTest::newRow("escaped reference stays text") << "&amp;copy; &amp;#146;"_ba << u"&copy; &#146;"_s;
        QTest::newRow("forbidden character dropped") << "a&#1;b&#xFFFF;c"_ba << u"abc"_s;
        QTest::newRow("unknown reference") << "&bogus;"_ba << u"&bogus;"_s;
        QTest::newRow("html-only reference") << "&hellip;&mdash;"_ba << u"\u2026\u2014"_s;
        // (How a NUL in a page is read is the title reader's business; answers and names cover it.)
        QTest::newRow("controls") << "a\001b\013\037c"_ba << u"abc"_s;
    }
    void hostileTitles() {
        QFETCH(QByteArray, title);
        QTemporaryDir dir;
        WritePage(dir.filePath(u"p.htm"_s), "<title>" + title + "</title>");
        const Feed feed = Parse(BuildFeedText({.folderText = dir.path(),
                                               .pageNames = {u"p.htm"_s},
                                               .feedTitle = u"F"_s,
                                               .siteUrl = u"http://x.org"_s}));
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
        const Feed feed = Parse(BuildFeedText({.folderText = dir.path(),
                                               .pageNames = {u"a.htm"_s},
                                               .feedTitle = feedTitle,
                                               .siteUrl = siteUrl}));
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
        const Feed feed = Parse(BuildFeedText({.folderText = dir.path(),
                                               .pageNames = {name},
                                               .feedTitle = u"F"_s,
                                               .siteUrl = u"http://x.org/"_s}));
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
        const Feed feed = Parse(BuildFeedText(
            {.folderText = dir.path(), .pageNames = names, .feedTitle = u"&<>\0"_s, .siteUrl = u"]]>&"_s}));
        QCOMPARE(feed.error, QString());
        QCOMPARE(feed.items.size(), names.size());
    }

    // Each option of the RSS feed on its own and all together, byte for byte, and each result
    // well-formed. Without options the text is exactly the plain feed's.
    void rssOptions_data() {
        QTest::addColumn<FeedOptions>("options");
        QTest::addColumn<QString>("head");  // between "<rss version="2.0"" and the channel line's end
        QTest::addColumn<QString>("itemA"); // the first item's lines after its link
        QTest::addColumn<QString>("itemB"); // the second item's lines after its link
        QTest::addColumn<QString>("descriptionA");
        const FeedOptions none;
        QTest::newRow("none") << none << QString() << QString() << QString() << u"Café &amp; Co"_s;
        FeedOptions guid;
        guid.guid = true;
        QTest::newRow("--guid") << guid << QString()
                                << u"<guid isPermaLink=\"true\">http://x.org/a%20b.htm</guid>\r\n"_s
                                << u"<guid isPermaLink=\"true\">http://x.org/gone.htm</guid>\r\n"_s
                                << u"Café &amp; Co"_s;
        FeedOptions self;
        self.rssUrl = u"https://x.org/feed?a=1&b=é"_s;
        QTest::newRow("--feed-url") << self
                                    << u" xmlns:atom=\"http://www.w3.org/2005/Atom\"><channel>\r\n<title>N</"
                                       u"title><link>http://x.org</link>"
                                       "<description>N</description><atom:link "
                                       "href=\"https://x.org/feed?a=1&amp;b=%C3%A9\" rel=\"self\" "
                                       "type=\"application/rss+xml\"/>\r\n"_s
                                    << QString() << QString() << u"Café &amp; Co"_s;
        FeedOptions dates;
        dates.dates = true;
        QTest::newRow("--dates, a page without a date has none")
            << dates
            << u"><channel>\r\n<title>N</title><link>http://x.org</link><description>N</description>"
               "<lastBuildDate>Fri, 03 May 2024 07:08:09 +0000</lastBuildDate>\r\n"_s
            << u"<pubDate>Fri, 03 May 2024 07:08:09 +0000</pubDate>\r\n"_s << QString() << u"Café &amp; Co"_s;
        FeedOptions meta;
        meta.description = FeedDescription::Meta;
        // The description is text: its "&amp;" is the five characters, not an ampersand.
        QTest::newRow("--description meta, else the title")
            << meta << QString() << QString() << QString() << u"About &lt;x&gt; &amp; &amp;amp;"_s;
    }
    void rssOptions() {
        QFETCH(FeedOptions, options);
        QFETCH(QString, head);
        QFETCH(QString, itemA);
        QFETCH(QString, itemB);
        QFETCH(QString, descriptionA);
        if (head.isEmpty())
            head =
                u"><channel>\r\n<title>N</title><link>http://x.org</link><description>N</description>\r\n"_s;
        const QString expected =
            u"<?xml version=\"1.0\"?><rss version=\"2.0\""_s + head +
            u"<item>\r\n<title>Café &amp; Co</title>\r\n<description>"_s + descriptionA +
            u"</description>\r\n<link>http://x.org/a%20b.htm</link>\r\n"_s + itemA +
            u"</item><item>\r\n<title>/site/gone.htm</title>\r\n<description>/site/gone.htm</description>\r\n"
            "<link>http://x.org/gone.htm</link>\r\n"_s +
            itemB + u"</item></channel></rss>"_s;
        const QString text = FormatFeedText(TwoPages(), {.folderText = u"/site"_s,
                                                         .feedTitle = u"N"_s,
                                                         .siteUrl = u"http://x.org"_s,
                                                         .options = options});
        QCOMPARE(text, expected);
        QCOMPARE(XmlLint(text), QString());
    }

    // The same feed through the whole road, from a folder, with every option at once.
    void rssFromFolder() {
        QTemporaryDir dir;
        WritePage(dir.filePath(u"old.htm"_s), "<title>Old</title>");
        WritePage(dir.filePath(u"new.htm"_s), "<title>New</title>");
        WritePage(dir.filePath(u"draft.htm"_s), "<title>Draft</title>");
        const QDateTime times[] = {Utc(2001, 2, 3, 4, 5, 6), Utc(2020, 12, 31, 23, 59, 59),
                                   Utc(2030, 1, 1, 0, 0, 0)};
        const char* names[] = {"old.htm", "new.htm", "draft.htm"};
        for (int i = 0; i < 3; ++i) {
            QFile f(dir.filePath(QString::fromLatin1(names[i])));
            QVERIFY(f.open(QIODevice::ReadWrite) &&
                    f.setFileTime(times[i], QFileDevice::FileModificationTime));
        }
        FeedOptions options;
        options.guid = options.dates = true;
        options.rssUrl = u"http://x.org/feed.xml"_s;
        options.selection = {PageOrder::Date, {u"DRAFT*"_s}, 1};
        const QString text = BuildFeedText({.folderText = dir.path(),
                                            .pageNames = {u"old.htm"_s, u"new.htm"_s, u"draft.htm"_s},
                                            .feedTitle = u"N"_s,
                                            .siteUrl = u"http://x.org/"_s,
                                            .options = options});
        QCOMPARE(
            text,
            u"<?xml version=\"1.0\"?><rss version=\"2.0\" xmlns:atom=\"http://www.w3.org/2005/Atom\">"
            "<channel>\r\n<title>N</title><link>http://x.org/</link><description>N</description>"
            "<atom:link href=\"http://x.org/feed.xml\" rel=\"self\" type=\"application/rss+xml\"/>"
            "<lastBuildDate>Thu, 31 Dec 2020 23:59:59 +0000</lastBuildDate>\r\n"
            "<item>\r\n<title>New</title>\r\n<description>New</description>\r\n"
            "<link>http://x.org/new.htm</link>\r\n<guid isPermaLink=\"true\">http://x.org/new.htm</guid>\r\n"
            "<pubDate>Thu, 31 Dec 2020 23:59:59 +0000</pubDate>\r\n</item></channel></rss>"_s);
    }

    void atom_data() {
        QTest::addColumn<QList<PageRecord>>("pages");
        QTest::addColumn<bool>("meta");
        QTest::addColumn<QString>("feedUpdated");
        QTest::addColumn<QStringList>("entryTitles");
        QTest::addColumn<QStringList>("entryUpdated");
        QTest::addColumn<QStringList>("summaries");
        QTest::newRow("titles decoded once, undated page takes the feed's date")
            << TwoPages() << false << u"2024-05-03T07:08:09Z"_s
            << QStringList{u"Café & Co"_s, u"/site/gone.htm"_s}
            << QStringList{u"2024-05-03T07:08:09Z"_s, u"2024-05-03T07:08:09Z"_s} << QStringList{};
        QTest::newRow("summary only where the page has one")
            << TwoPages() << true << u"2024-05-03T07:08:09Z"_s
            << QStringList{u"Café & Co"_s, u"/site/gone.htm"_s}
            << QStringList{u"2024-05-03T07:08:09Z"_s, u"2024-05-03T07:08:09Z"_s}
            << QStringList{u"About <x> & &amp;"_s};
        const QList<PageRecord> dated = {
            PageRecord{u"x.htm"_s, u"<b>X</b>"_s, QDateTime(QDate(2024, 1, 1), QTime(1, 0), QTimeZone(3600)),
                       u" "_s},
            PageRecord{u"y.htm"_s, u"&bogus; &#x41;"_s, Utc(2025, 6, 7, 8, 9, 10).addMSecs(999),
                       std::nullopt}};
        QTest::newRow("newest date, UTC, whole seconds; blank summary left out")
            << dated << true << u"2025-06-07T08:09:10Z"_s << QStringList{u"<b>X</b>"_s, u"&bogus; A"_s}
            << QStringList{u"2024-01-01T00:00:00Z"_s, u"2025-06-07T08:09:10Z"_s} << QStringList{};
        const QList<PageRecord> references = {
            PageRecord{u"x.htm"_s, u"&#146;s &#0; &copy 2020"_s, Utc(2024, 1, 1, 0, 0, 0), std::nullopt},
            PageRecord{u"y.htm"_s, u"&#x110000;&#150;&notit;"_s, Utc(2025, 6, 7, 8, 9, 10), std::nullopt}};
        QTest::newRow("references read as a browser reads a title")
            << references << false << u"2025-06-07T08:09:10Z"_s
            << QStringList{u"\u2019s \uFFFD \u00A9 2020"_s, u"\uFFFD\u2013\u00ACit;"_s}
            << QStringList{u"2024-01-01T00:00:00Z"_s, u"2025-06-07T08:09:10Z"_s} << QStringList{};
        QTest::newRow("no pages: a fixed date") << QList<PageRecord>{} << false << u"1970-01-01T00:00:00Z"_s
                                                << QStringList{} << QStringList{} << QStringList{};
    }
    void atom() {
        QFETCH(QList<PageRecord>, pages);
        QFETCH(bool, meta);
        FeedOptions options;
        options.atomUrl = u"https://x.org/atom.xml"_s;
        options.description = meta ? FeedDescription::Meta : FeedDescription::Title;
        const QString text = FormatAtomText(pages, {.folderText = u"/site"_s,
                                                    .feedTitle = u"News &amp; more"_s,
                                                    .siteUrl = u"https://x.org"_s,
                                                    .options = options});
        QCOMPARE(XmlLint(text, AtomSchema, "--relaxng"), QString());
        QString error;
        const QMultiMap<QString, QString> atom = ReadAtom(text, &error);
        QCOMPARE(error, QString());
        QCOMPARE(atom.value(u"feed/id"_s), u"https://x.org/atom.xml"_s);
        QCOMPARE(atom.value(u"feed/title"_s), u"News & more"_s);
        QCOMPARE(atom.values(u"feed/link@self"_s), QStringList{u"https://x.org/atom.xml"_s});
        QCOMPARE(atom.values(u"feed/link@alternate"_s), QStringList{u"https://x.org"_s});
        QTEST(atom.value(u"feed/updated"_s), "feedUpdated");
        // QMultiMap gives the values of a key newest first.
        auto inOrder = [&](const QString& key) {
            QStringList v = atom.values(key);
            std::reverse(v.begin(), v.end());
            return v;
        };
        QTEST(inOrder(u"entry/title"_s), "entryTitles");
        QTEST(inOrder(u"entry/updated"_s), "entryUpdated");
        QTEST(inOrder(u"entry/summary"_s), "summaries");
        QStringList links;
        for (const PageRecord& page : pages)
            links << u"https://x.org/"_s + PercentEncodePathSegment(page.name);
        QCOMPARE(inOrder(u"entry/id"_s), links);
        QCOMPARE(inOrder(u"entry/link@"_s), links);
    }

    void sitemap_data() {
        QTest::addColumn<QString>("siteUrl");
        QTest::addColumn<bool>("lastmod");
        QTest::addColumn<QString>("urls");
        QTest::newRow("plain") << u"https://x.org"_s << false
                               << u"<url><loc>https://x.org/a%20b.htm</loc></url>\r\n"
                                  "<url><loc>https://x.org/gone.htm</loc></url>\r\n"_s;
        QTest::newRow("--lastmod, where a page has a date")
            << u"https://x.org/"_s << true
            << u"<url><loc>https://x.org/a%20b.htm</loc><lastmod>2024-05-03T07:08:09Z</lastmod></url>\r\n"
               "<url><loc>https://x.org/gone.htm</loc></url>\r\n"_s;
        QTest::newRow("address encoded and escaped")
            << u"http://bücher.example/s?a=1&b=é/"_s << false
            << u"<url><loc>http://xn--bcher-kva.example/s?a=1&amp;b=%C3%A9/a%20b.htm</loc></url>\r\n"
               "<url><loc>http://xn--bcher-kva.example/s?a=1&amp;b=%C3%A9/gone.htm</loc></url>\r\n"_s;
    }
    void sitemap() {
        QFETCH(QString, siteUrl);
        QFETCH(bool, lastmod);
        QFETCH(QString, urls);
        SitemapOptions options;
        options.lastmod = lastmod;
        const QString text = FormatSitemapText(TwoPages(), {.siteUrl = siteUrl, .options = options});
        QCOMPARE(text, u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                       "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\r\n"_s +
                           urls + u"</urlset>"_s);
        QCOMPARE(XmlLint(text, SitemapSchema, "--schema"), QString());
    }

    // The sitemap the window and pagewick-cli write, with the feeds' options: made whole or not at
    // all, the protocol's limits counted on the pages it lists (the feeds' left-out pages are not,
    // and the feeds' limit cuts none off). Without dates no page is opened, so the names need no files.
    void sitemapWithinLimits_data() {
        QTest::addColumn<int>("pages"); // named p00000.htm on
        QTest::addColumn<QStringList>("excludes");
        QTest::addColumn<int>("feedLimit");
        QTest::addColumn<QString>("siteUrl");
        QTest::addColumn<int>("listed"); // -1: refused
        const QString site = u"https://x.org/"_s;
        QTest::newRow("50,000 pages, the most a sitemap holds")
            << 50000 << QStringList() << 0 << site << 50000;
        QTest::newRow("50,001 pages") << 50001 << QStringList() << 0 << site << -1;
        QTest::newRow("50,001 pages, one left out as the feeds leave it")
            << 50001 << QStringList{u"P00007.*"_s} << 0 << site << 50000;
        QTest::newRow("the feeds' limit cuts no page off") << 3 << QStringList() << 1 << site << 3;
        QTest::newRow("an address of 2,048 characters")
            << 1 << QStringList() << 0 << u"https://x.org/"_s + QString(2048 - 14 - 1 - 10, u'x') + u'/'
            << -1;
    }
    void sitemapWithinLimits() {
        QFETCH(int, pages);
        QFETCH(QStringList, excludes);
        QFETCH(int, feedLimit);
        QFETCH(QString, siteUrl);
        QFETCH(int, listed);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        FeedOptions feed;
        feed.selection = {PageOrder::Name, excludes, feedLimit};
        SitemapRequest request{
            .folderText = dir.path(), .siteUrl = siteUrl, .options = SitemapOptionsForFeeds(feed)};
        for (int i = 0; i < pages; ++i)
            request.pageNames << u"p%1.htm"_s.arg(i, 5, 10, QChar(u'0'));
        QString built;
        const QString problem = BuildSitemapTextWithinLimits(request, &built);
        QString streamed;
        QCOMPARE(
            StreamSitemapTextWithinLimits(request, [&streamed](const QString& piece) { streamed += piece; }),
            problem);
        QCOMPARE(streamed, built); // nothing at all when refused
        QVERIFY2(problem.isEmpty() == (listed >= 0), qPrintable(problem));
        QCOMPARE(built.count(u"<url>"_s), qMax(listed, 0));
    }

    void dates_data() {
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<QString>("rfc822");
        QTest::addColumn<QString>("rfc3339");
        QTest::newRow("UTC") << Utc(2024, 5, 3, 7, 8, 9) << u"Fri, 03 May 2024 07:08:09 +0000"_s
                             << u"2024-05-03T07:08:09Z"_s;
        QTest::newRow("other zone, day before in UTC")
            << QDateTime(QDate(2023, 1, 2), QTime(1, 4, 5), QTimeZone(5 * 3600))
            << u"Sun, 01 Jan 2023 20:04:05 +0000"_s << u"2023-01-01T20:04:05Z"_s;
        QTest::newRow("fraction cut") << Utc(2020, 12, 31, 23, 59, 59).addMSecs(999)
                                      << u"Thu, 31 Dec 2020 23:59:59 +0000"_s << u"2020-12-31T23:59:59Z"_s;
        // The calendar worked out from the seconds since 1970: leap days, centuries, before 1970.
        QTest::newRow("leap day") << Utc(2024, 2, 29, 12, 0, 0) << u"Thu, 29 Feb 2024 12:00:00 +0000"_s
                                  << u"2024-02-29T12:00:00Z"_s;
        QTest::newRow("century without a leap day")
            << Utc(2100, 3, 1, 0, 0, 0) << u"Mon, 01 Mar 2100 00:00:00 +0000"_s << u"2100-03-01T00:00:00Z"_s;
        QTest::newRow("before 1970, fraction cut")
            << Utc(1969, 12, 31, 23, 59, 59).addMSecs(500) << u"Wed, 31 Dec 1969 23:59:59 +0000"_s
            << u"1969-12-31T23:59:59Z"_s;
        QTest::newRow("last second") << Utc(9999, 12, 31, 23, 59, 59) << u"Fri, 31 Dec 9999 23:59:59 +0000"_s
                                     << u"9999-12-31T23:59:59Z"_s;
        QTest::newRow("first year RFC 822 can write")
            << Utc(1900, 1, 1, 0, 0, 0) << u"Mon, 01 Jan 1900 00:00:00 +0000"_s << u"1900-01-01T00:00:00Z"_s;
        // A date one format cannot write is written by none, so the outputs never disagree.
        QTest::newRow("year before 1900") << Utc(1899, 12, 31, 23, 59, 59) << QString() << QString();
        QTest::newRow("year 1") << Utc(1, 1, 1, 0, 0, 0) << QString() << QString();
        QTest::newRow("year too big") << Utc(10000, 1, 1, 0, 0, 0) << QString() << QString();
        QTest::newRow("year 9999 in its zone, 10000 in UTC")
            << QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), QTimeZone(-12 * 3600)) << QString()
            << QString();
        QTest::newRow("invalid") << QDateTime() << QString() << QString();
    }
    void dates() {
        QFETCH(QDateTime, date);
        // English names and Western digits whatever the user's language.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        const QString rfc822 = Rfc822Date(date), rfc3339 = Rfc3339Date(date);
        QLocale::setDefault(before);
        QTEST(rfc822, "rfc822");
        QTEST(rfc3339, "rfc3339");
        // The date every output and the date order take: publishable exactly when it can be written.
        const QDateTime publishable = PublishableDate(date);
        QCOMPARE(publishable.isValid(), !rfc3339.isEmpty());
        if (publishable.isValid()) {
            QCOMPARE(publishable.timeSpec(), Qt::UTC);
            QCOMPARE(publishable.time().msec(), 0);
            QCOMPARE(Rfc3339Date(publishable), rfc3339);
        }
    }

    void addresses_data() {
        QTest::addColumn<FeedFormat>("format");
        QTest::addColumn<QString>("siteUrl");
        QTest::addColumn<bool>("guid");
        QTest::addColumn<QString>("feedUrl");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("plain rss: free text")
            << FeedFormat::Rss << u"my site"_s << false << QString() << true;
        QTest::newRow("guid, http") << FeedFormat::Rss << u"http://x.org"_s << true << QString() << true;
        QTest::newRow("guid, HTTPS in capitals")
            << FeedFormat::Rss << u"HTTPS://X.org/a/"_s << true << QString() << true;
        QTest::newRow("guid, no scheme") << FeedFormat::Rss << u"x.org"_s << true << QString() << false;
        QTest::newRow("guid, other scheme")
            << FeedFormat::Rss << u"ftp://x.org/"_s << true << QString() << false;
        QTest::newRow("guid, no host") << FeedFormat::Rss << u"http:///a"_s << true << QString() << false;
        QTest::newRow("guid, space") << FeedFormat::Rss << u"http://x.org/a b"_s << true << QString()
                                     << false;
        QTest::newRow("feed url, free-text site")
            << FeedFormat::Rss << u"my site"_s << false << u"http://x.org/f.xml"_s << false;
        QTest::newRow("feed url relative")
            << FeedFormat::Rss << u"http://x.org"_s << false << u"f.xml"_s << false;
        QTest::newRow("atom") << FeedFormat::Atom << u"https://x.org"_s << false << u"https://x.org/a.xml"_s
                              << true;
        QTest::newRow("atom without feed url")
            << FeedFormat::Atom << u"https://x.org"_s << false << QString() << false;
        QTest::newRow("atom, free-text site")
            << FeedFormat::Atom << u"x"_s << false << u"https://x.org/a.xml"_s << false;
        // A page's path put after a query or fragment would land in it: every link the home page.
        QTest::newRow("guid, site with a fragment")
            << FeedFormat::Rss << u"https://e.org/#frag"_s << true << QString() << false;
        QTest::newRow("guid, site with an empty query")
            << FeedFormat::Rss << u"https://e.org/?"_s << true << QString() << false;
        QTest::newRow("atom, site with a query")
            << FeedFormat::Atom << u"https://e.org/?q=1"_s << false << u"https://e.org/a.xml"_s << false;
        QTest::newRow("atom, feed address with a query")
            << FeedFormat::Atom << u"https://e.org/"_s << false << u"https://e.org/feed?type=atom"_s << true;
        QTest::newRow("plain rss: a query is free text too")
            << FeedFormat::Rss << u"https://e.org/?q=1"_s << false << QString() << true;
    }
    void addresses() {
        QFETCH(FeedFormat, format);
        QFETCH(QString, siteUrl);
        QFETCH(bool, accepted);
        FeedOptions options;
        QFETCH(bool, guid);
        options.guid = guid;
        QFETCH(QString, feedUrl);
        (format == FeedFormat::Atom ? options.atomUrl : options.rssUrl) = feedUrl;
        const QString problem = FeedAddressProblem(format, siteUrl, options);
        QVERIFY2(problem.isEmpty() == accepted, qPrintable(problem));
        if (format == FeedFormat::Rss && !guid && feedUrl.isEmpty())
            QCOMPARE(SitemapAddressProblem(siteUrl).isEmpty(),
                     IsWebAddress(siteUrl) && !siteUrl.contains(u'?') && !siteUrl.contains(u'#'));
    }
};

QTEST_GUILESS_MAIN(FeedTest)
#include "tst_feed.moc"
