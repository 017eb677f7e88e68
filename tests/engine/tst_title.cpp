#include "engine/title.h"
#include "fixture.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace pagewick;

class tst_Title : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(dir.isValid()); }
    // First, while the test's own peak memory is still low.
    void bigPageCostsLittleMemory_data();
    void bigPageCostsLittleMemory();
    void rules_data();
    void rules();
    void tagAcrossChunks_data();
    void tagAcrossChunks();
    void longTitle_data();
    void longTitle();
    void longOpeningTag_data();
    void longOpeningTag();
    void notARegularFile_data();
    void notARegularFile();
    void flattenLineBreaks_data();
    void flattenLineBreaks();

private:
    QTemporaryDir dir;
};

void tst_Title::rules_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title"); // null: no title
    const QString none;
    QTest::newRow("capitals") << u"<TITLE>My Page</TITLE>"_qs << u"My Page"_qs;
    QTest::newRow("mixed case") << u"<html><TiTlE>x</tItLe>"_qs << u"x"_qs;
    QTest::newRow("attributes") << u"<title lang=\"en\" dir=rtl>Hi</title>"_qs << u"Hi"_qs;
    QTest::newRow("quoted >") << u"<title data-x=\"a>b\" data-y='c>d'>Hi</title>"_qs << u"Hi"_qs;
    QTest::newRow("slash") << u"<title/>Hi</title>"_qs << u"Hi"_qs;
    QTest::newRow("line break in tag") << u"<title\n>Hi</title>"_qs << u"Hi"_qs;
    QTest::newRow("unclosed quote") << u"<title a=\"x>Hi</title>"_qs << none;
    QTest::newRow("<titles>") << u"<titles>No</titles>"_qs << none;
    QTest::newRow("<titles> then <title>") << u"<titles>No</titles><title>Yes</title>"_qs << u"Yes"_qs;
    QTest::newRow("missing") << u"<html><body>none</body></html>"_qs << none;
    QTest::newRow("empty") << u"<title></title>"_qs << none;
    QTest::newRow("only whitespace") << u"<title> \t\r\n\f </title>"_qs << none;
    QTest::newRow("closing tag only") << u"<head>0123456789</title>0123456789"_qs << none;
    QTest::newRow("closing before opening") << u"</title>junk<title>Real</title>"_qs << u"Real"_qs;
    QTest::newRow("closing only before opening") << u"</title><title>Unfinished"_qs << none;
    QTest::newRow("no closing tag") << u"<title>Unfinished"_qs << none;
    QTest::newRow("comma and quotes")
        << u"<title>Tom, \"Jerry\" & 'Spike'</title>"_qs << u"Tom, \"Jerry\" & 'Spike'"_qs;
    QTest::newRow("line break gives a space") << u"<title>A\r\nB</title>"_qs << u"A B"_qs;
    QTest::newRow("whitespace collapsed, ends trimmed") << u"<title>\t A \f\f B  \n</title>"_qs << u"A B"_qs;
    QTest::newRow("no-break space kept") << u"<title>\u00A0A\u00A0 B</title>"_qs << u"\u00A0A\u00A0 B"_qs;
    QTest::newRow("NUL as U+FFFD") << QStringLiteral("<title>A\0B</title>") << u"A\uFFFDB"_qs;
    QTest::newRow("entities as written")
        << u"<title>Fish &amp; Chips &eacute;</title>"_qs << u"Fish &amp; Chips &eacute;"_qs;
    QTest::newRow("markup as written") << u"<title>a <b>bold</b></title>"_qs << u"a <b>bold</b>"_qs;
    QTest::newRow("end tag with space") << u"<title>A</title >B</title>"_qs << u"A"_qs;
    QTest::newRow("end tag lookalike") << u"<title>A</titlex>B</TITLE>"_qs << u"A</titlex>B"_qs;
    QTest::newRow("first of two") << u"<title>One</title><title>Two</title>"_qs << u"One"_qs;
    QTest::newRow("non-ascii") << u"<title>Ünïcødé 日本 😀</title>"_qs << u"Ünïcødé 日本 😀"_qs;
}

// Every rule holds for text in memory and, stored as UTF-8, for the page read from its file.
void tst_Title::rules() {
    QFETCH(QString, page);
    QFETCH(QString, title);
    const std::optional<QString> expected = title.isNull() ? std::nullopt : std::optional(title);
    QCOMPARE(FindTitle(page), expected);
    const QString path = WriteFixture(dir.path(), u"rules.htm"_qs, page.toUtf8());
    QCOMPARE(ReadPageTitle(path), expected);
    QCOMPARE(FolderTitleReader(dir.path()).read(u"rules.htm"_qs), expected);
    QCOMPARE(ExtractTitle(path), title.isNull() ? path : title);
}

void tst_Title::tagAcrossChunks_data() {
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<bool>("byteOrderMark");
    QTest::addColumn<QByteArray>("filler");
    QTest::addColumn<int>("offset"); // in characters
    // The reader takes 16 KiB first, then 64 KiB at a time: put the tags across those edges.
    const QByteArray title = "<title>Boundary title</title>";
    QList<int> offsets{0, 200000, 1 << 20};
    for (int edge : {16384, 16384 + 65536}) {
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
        for (const char* filler : {"x <p>", "<titl"}) {
            for (const int offset : offsets) {
                QTest::addRow("%s%s, filler %s, at %d", form.encoding, form.bom ? " with BOM" : "", filler,
                              offset)
                    << QByteArray(form.encoding) << form.bom << QByteArray(filler) << offset;
            }
        }
    }
}

void tst_Title::tagAcrossChunks() {
    QFETCH(QByteArray, encoding);
    QFETCH(bool, byteOrderMark);
    QFETCH(QByteArray, filler);
    QFETCH(int, offset);
    QString text = QString::fromLatin1(filler.repeated(offset / filler.size() + 1).left(offset));
    text += u"<title>Boundary title</title>"_qs + QString(1000, u'z');
    QStringEncoder encoder(encoding.constData(),
                           byteOrderMark ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
    const QString path = WriteFixture(dir.path(), u"chunks.htm"_qs, encoder.encode(text));
    QCOMPARE(ReadPageTitle(path), std::optional(u"Boundary title"_qs));
}

void tst_Title::longTitle_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");
    QTest::newRow("beyond 32,767 characters") << 40000 << 100000;
    QTest::newRow("longer than the reader keeps") << 100 << 3 * 1024 * 1024;
    QTest::newRow("long and far") << 5 * 1024 * 1024 << 2 * 1024 * 1024;
}

void tst_Title::longTitle() {
    QFETCH(int, offset);
    QFETCH(int, length);
    QByteArray title = QByteArray("word ").repeated(length / 5 + 1).left(length).trimmed();
    title[length / 2] = 'X';
    const QByteArray page = QByteArray(offset, '.') + "<title>" + title + "</title>";
    const QString path = WriteFixture(dir.path(), u"long.htm"_qs, page);
    QCOMPARE(ReadPageTitle(path), std::optional(QString::fromLatin1(title)));
}

void tst_Title::longOpeningTag_data() {
    QTest::addColumn<int>("length");
    QTest::newRow("short") << 100;
    QTest::newRow("across reads") << 20000;
    QTest::newRow("megabytes") << 3 * 1024 * 1024;
}

void tst_Title::longOpeningTag() {
    // A quoted attribute value may hold ">" and "<title>": the tag ends at the ">" after the quote.
    QFETCH(int, length);
    const QByteArray value = QByteArray("a>b <title>Wrong</title> ").repeated(length / 25 + 1).left(length);
    const QByteArray page = "<title data-x='" + value + "' lang=en>Right</title>";
    const QString path = WriteFixture(dir.path(), u"tag.htm"_qs, page);
    QCOMPARE(ReadPageTitle(path), std::optional(u"Right"_qs));
    QCOMPARE(FindTitle(QString::fromLatin1(page)), std::optional(u"Right"_qs));
}

static long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void tst_Title::bigPageCostsLittleMemory_data() {
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("no title") << QByteArray("<html><head>");
    QTest::newRow("title never closed") << QByteArray("<html><head><title>");
    QTest::newRow("opening tag never closed") << QByteArray("<html><head><title data-x=\"");
}

void tst_Title::bigPageCostsLittleMemory() {
    QFETCH(QByteArray, start);
    // 48 MiB without a title: reading it must not hold the page in memory.
    const QString path = dir.path() + u"/big.htm"_qs;
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(start);
        const QByteArray block = QByteArray("<p>Lorem ipsum dolor sit amet.</p>\n").repeated(30000);
        for (qint64 written = 0; written < 48 << 20; written += block.size())
            QCOMPARE(file.write(block), block.size());
    }
    const long before = PeakKilobytes();
    QCOMPARE(ReadPageTitle(path), std::nullopt);
    QVERIFY2(PeakKilobytes() - before < 16 * 1024, "reading the page raised peak memory by 16 MiB or more");
    QFile::remove(path);
}

void tst_Title::notARegularFile_data() {
    QTest::addColumn<QString>("relative");
    QTest::newRow("FIFO") << u"pipe.htm"_qs;
    QTest::newRow("folder") << u"folder.htm"_qs;
    QTest::newRow("missing") << u"gone.htm"_qs;
    QTest::newRow("under a regular file") << u"page.htm/sub.htm"_qs;
    QTest::newRow("broken link") << u"broken.htm"_qs;
}

void tst_Title::notARegularFile() {
    QFETCH(QString, relative);
    QTemporaryDir here;
    const QString d = here.path();
    WriteFixture(d, u"page.htm"_qs, "<title>Page</title>");
    // Nobody writes to the FIFO: a reader that opened it for reading in blocking mode would hang here.
    QCOMPARE(::mkfifo(QFile::encodeName(d + u"/pipe.htm"_qs).constData(), 0600), 0);
    QVERIFY(QDir(d).mkdir(u"folder.htm"_qs));
    QVERIFY(QFile::link(d + u"/nothing.htm"_qs, d + u"/broken.htm"_qs));

    const QString path = d + u'/' + relative;
    QCOMPARE(ReadPageTitle(path), std::nullopt);
    QCOMPARE(FolderTitleReader(d).read(relative), std::nullopt);
    QCOMPARE(FolderTitleReader(d + u"/missing-folder"_qs).read(relative), std::nullopt);
    QCOMPARE(ExtractTitle(path), path);
}

void tst_Title::flattenLineBreaks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("flat");
    QTest::newRow("CR LF") << u"a\r\nb"_qs << u"a b"_qs;
    QTest::newRow("lone CR dropped") << u"a\rb"_qs << u"ab"_qs;
    QTest::newRow("each LF a space") << u"\n\na\n"_qs << u"  a "_qs;
    QTest::newRow("other whitespace kept") << u"a\tb\fc"_qs << u"a\tb\fc"_qs;
}

void tst_Title::flattenLineBreaks() {
    QFETCH(QString, text);
    QFETCH(QString, flat);
    QCOMPARE(FlattenLineBreaks(text), flat);
}

QTEST_GUILESS_MAIN(tst_Title)
#include "tst_title.moc"
