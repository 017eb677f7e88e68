#include "engine/reading/title.h"
#include "engine/reading/title_p.h"
#include "engine/text/decode.h"
#include "engine/text/decode_p.h"
#include "fixture.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class DecodeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void byteOrderMark_data();
    void byteOrderMark();
    void prescan_data();
    void prescan();
    void labels_data();
    void labels();
    void detect_data();
    void detect();
    void legacyTitles_data();
    void legacyTitles();
    void untrustedEncodingGivesNoTitle();
    void decoders_data();
    void decoders();
    void everyLabelAndIndexPointer();
    void sniffingAsBrowsers_data();
    void sniffingAsBrowsers();
};

void DecodeTest::byteOrderMark_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8") << QByteArray("\xEF\xBB\xBF\xC3\xA9") << QByteArray("UTF-8") << u"é"_s;
    QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE\xE9\x00z\x00", 6) << QByteArray("UTF-16LE") << u"éz"_s;
    QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF\x00\xE9\x00z", 6) << QByteArray("UTF-16BE") << u"éz"_s;
    QTest::newRow("mark wins over meta") << QByteArray("\xEF\xBB\xBF<meta charset=koi8-r>\xC3\xA9")
                                         << QByteArray("UTF-8") << u"<meta charset=koi8-r>é"_s;
    QTest::newRow("second mark is text")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QByteArray("UTF-8") << u"\uFEFFx"_s;
    QTest::newRow("cut mark") << QByteArray("\xEF\xBBx") << QByteArray() << u"ï»x"_s;
}

void DecodeTest::byteOrderMark() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, encoding);
    QFETCH(QString, text);
    QCOMPARE(EncodingFromBom(bytes), encoding);
    QCOMPARE(DecodePage(bytes), text);
}

void DecodeTest::prescan_data() {
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("encoding");
    const QByteArray none;
    QTest::newRow("charset") << QByteArray("<meta charset=\"koi8-r\">") << QByteArray("KOI8-R");
    QTest::newRow("charset unquoted") << QByteArray("<meta charset=shift_jis>") << QByteArray("Shift_JIS");
    QTest::newRow("capitals, single quotes") << QByteArray("<META CHARSET='GB2312'>") << QByteArray("GBK");
    QTest::newRow("spaces around") << QByteArray("<meta name=x charset = \" latin1 \" >")
                                   << QByteArray("windows-1252");
    QTest::newRow("slash after meta") << QByteArray("<meta/charset=euc-kr>") << QByteArray("EUC-KR");
    QTest::newRow("http-equiv") << QByteArray("<meta http-equiv=\"Content-Type\" "
                                              "content=\"text/html; charset=ISO-8859-2\">")
                                << QByteArray("ISO-8859-2");
    QTest::newRow("content first") << QByteArray("<meta content='text/html;charset=\"big5\"' "
                                                 "http-equiv=content-type>")
                                   << QByteArray("Big5");
    QTest::newRow("content without http-equiv")
        << QByteArray("<meta content=\"text/html; charset=koi8-r\">") << none;
    QTest::newRow("utf-16 declared means utf-8")
        << QByteArray("<meta charset=utf-16le>") << QByteArray("UTF-8");
    QTest::newRow("x-user-defined") << QByteArray("<meta charset=x-user-defined>")
                                    << QByteArray("windows-1252");
    QTest::newRow("unknown label, then a known one")
        << QByteArray("<meta charset=klingon><meta charset=euc-jp>") << QByteArray("EUC-JP");
    QTest::newRow("first charset attribute counts")
        << QByteArray("<meta charset=koi8-r charset=utf-8>") << QByteArray("KOI8-R");
    QTest::newRow("in a comment") << QByteArray("<!-- <meta charset=koi8-r> -->") << none;
    QTest::newRow("after a short comment")
        << QByteArray("<!--><meta charset=koi8-r>") << QByteArray("KOI8-R");
    QTest::newRow("inside another tag's attribute")
        << QByteArray("<div title='<meta charset=koi8-r>'>") << none;
    QTest::newRow("after other tags") << QByteArray("<!DOCTYPE html><html lang=ru><head><?pi?>"
                                                    "<meta charset=windows-1251>")
                                      << QByteArray("windows-1251");
    QTest::newRow("metadata is no meta") << QByteArray("<metadata charset=koi8-r>") << none;
    QTest::newRow("replacement") << QByteArray("<meta charset=iso-2022-kr>")
                                 << QByteArray(kReplacementEncoding);
    QTest::newRow("beyond 1,024 bytes") << QByteArray(1020, ' ') + "<meta charset=koi8-r>" << none;
    QTest::newRow("in a script string")
        << QByteArray("<script>var m = '<meta charset=koi8-r>';</script>") << none;
    QTest::newRow("in a style sheet") << QByteArray("<style>/* <meta charset=koi8-r> */</style>") << none;
    QTest::newRow("in a text area") << QByteArray("<TEXTAREA><meta charset=koi8-r></TEXTAREA>") << none;
    QTest::newRow("in the title") << QByteArray("<title><meta charset=koi8-r></title>") << none;
    QTest::newRow("in xmp, iframe") << QByteArray(
                                           "<xmp><meta charset=koi8-r></xmp><iframe><meta charset=koi8-r>")
                                    << none;
    QTest::newRow("after a script") << QByteArray("<script src=a.js></script ><meta charset=koi8-r>")
                                    << QByteArray("KOI8-R");
    QTest::newRow("script not closed by a longer name")
        << QByteArray("<script></scripts><meta charset=koi8-r></script><meta charset=euc-jp>")
        << QByteArray("EUC-JP");
    QTest::newRow("in a script opened with a slash")
        << QByteArray("<script/><meta charset=koi8-r></script>") << none;
    QTest::newRow("script never closed") << QByteArray("<script><meta charset=koi8-r>") << none;
    QTest::newRow("after plaintext") << QByteArray("<plaintext><meta charset=koi8-r>") << none;
    QTest::newRow("in noscript, template, svg")
        << QByteArray("<noscript><template><svg><meta charset=koi8-r>") << QByteArray("KOI8-R");
    QTest::newRow("quoted value of another tag spans a meta")
        << QByteArray("<p title=\"x>\n<meta charset=koi8-r>\n<p>\"") << none;
    QTest::newRow("http-equiv with a space") << QByteArray("<meta http-equiv='content-type ' "
                                                           "content='text/html; charset=koi8-r'>")
                                             << none;
    QTest::newRow("within 1,024 bytes")
        << QByteArray(1000, ' ') + "<meta charset=koi8-r>" << QByteArray("KOI8-R");
}

void DecodeTest::prescan() {
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, encoding);
    QCOMPARE(PrescanMetaCharset(head), encoding);
}

void DecodeTest::labels_data() {
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QByteArray>("encoding");
    QTest::newRow("utf8") << QByteArray(" UTF8\t") << QByteArray("UTF-8");
    QTest::newRow("latin1") << QByteArray("latin1") << QByteArray("windows-1252");
    QTest::newRow("iso-8859-1") << QByteArray("ISO-8859-1") << QByteArray("windows-1252");
    QTest::newRow("ascii") << QByteArray("us-ascii") << QByteArray("windows-1252");
    QTest::newRow("x-sjis") << QByteArray("x-sjis") << QByteArray("Shift_JIS");
    QTest::newRow("gb2312") << QByteArray("gb2312") << QByteArray("GBK");
    QTest::newRow("korean") << QByteArray("ks_c_5601-1987") << QByteArray("EUC-KR");
    QTest::newRow("iso-8859-9") << QByteArray("iso-8859-9") << QByteArray("windows-1254");
    QTest::newRow("iso-8859-16") << QByteArray("ISO-8859-16") << QByteArray("ISO-8859-16");
    QTest::newRow("x-mac-ukrainian") << QByteArray("x-mac-ukrainian") << QByteArray("x-mac-cyrillic");
    QTest::newRow("logical") << QByteArray("logical") << QByteArray("ISO-8859-8-I");
    QTest::newRow("unicode11utf8") << QByteArray("unicode11utf8") << QByteArray("UTF-8");
    QTest::newRow("ucs-2") << QByteArray("ucs-2") << QByteArray("UTF-16LE");
    QTest::newRow("cseucpkdfmtjapanese") << QByteArray("cseucpkdfmtjapanese") << QByteArray("EUC-JP");
    QTest::newRow("x-user-defined") << QByteArray("x-user-defined") << QByteArray("x-user-defined");
    QTest::newRow("hz-gb-2312") << QByteArray("hz-gb-2312") << QByteArray(kReplacementEncoding);
    QTest::newRow("not a label of the web") << QByteArray("euc-tw") << QByteArray();
    QTest::newRow("unknown") << QByteArray("utf-9") << QByteArray();
    QTest::newRow("empty") << QByteArray("  ") << QByteArray();
}

void DecodeTest::labels() {
    QFETCH(QByteArray, label);
    QFETCH(QByteArray, encoding);
    QCOMPARE(EncodingForLabel(label), encoding);
}

void DecodeTest::detect_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<QString>("text");
    const QString page = u"<html><title>Ключ</title></html>"_s;
    QStringEncoder le("UTF-16LE"), be("UTF-16BE");
    QTest::newRow("UTF-16LE without mark") << QByteArray(le.encode(page)) << QByteArray("UTF-16LE") << page;
    QTest::newRow("UTF-16BE without mark") << QByteArray(be.encode(page)) << QByteArray("UTF-16BE") << page;
    QTest::newRow("valid UTF-8") << page.toUtf8() << QByteArray("UTF-8") << page;
    QTest::newRow("ASCII") << QByteArray("<p>plain</p>") << QByteArray("UTF-8") << u"<p>plain</p>"_s;
    QTest::newRow("meta wins over valid UTF-8")
        << QByteArray("<meta charset=iso-8859-2>\xC3\xA9") << QByteArray("ISO-8859-2")
        << u"<meta charset=iso-8859-2>ĂŠ"_s;
    QTest::newRow("guessed latin-1 read as windows-1252")
        << QByteArray("na\xEFve caf\xE9") << QByteArray("windows-1252") << u"naïve café"_s;
    QTest::newRow("replacement") << QByteArray("<meta charset=hz-gb-2312>~{<:Ky2;S{~}")
                                 << QByteArray(kReplacementEncoding) << u"\uFFFD"_s;
    // A declaration met while reading the head, before the title, counts as a browser reloads with it.
    const QByteArray comment = "<!--" + QByteArray(1100, ' ') + "-->";
    QTest::newRow("meta past 1,024 bytes, before the title")
        << comment + "<meta charset=iso-8859-2><title>\xB3\xF3"
                     "d\xBC</title>"
        << QByteArray("ISO-8859-2")
        << QString::fromLatin1(comment) + u"<meta charset=iso-8859-2><title>łódź</title>"_s;
    QTest::newRow("http-equiv past 1,024 bytes")
        << comment +
               "<meta http-equiv=content-type content='text/html; charset=koi8-r'><title>\xF0\xD2</title>"
        << QByteArray("KOI8-R")
        << QString::fromLatin1(comment) +
               u"<meta http-equiv=content-type content='text/html; charset=koi8-r'><title>Пр</title>"_s;
    QTest::newRow("meta past 1,024 bytes, in a comment")
        << comment + "<!-- <meta charset=koi8-r> --><title>caf\xC3\xA9</title>" << QByteArray("UTF-8")
        << QString::fromLatin1(comment) + u"<!-- <meta charset=koi8-r> --><title>café</title>"_s;
    // A browser honours a declaration after the title while the head lasts.
    QTest::newRow("meta after the title, in the head")
        << "<title>caf\xC3\xA9</title>" + comment + "<meta charset=koi8-r>" << QByteArray("KOI8-R")
        << u"<title>cafц╘</title>"_s + QString::fromLatin1(comment) + u"<meta charset=koi8-r>"_s;
    QTest::newRow("meta after the head")
        << "<title>caf\xC3\xA9</title></head>" + comment + "<meta charset=koi8-r>" << QByteArray("UTF-8")
        << u"<title>café</title></head>"_s + QString::fromLatin1(comment) + u"<meta charset=koi8-r>"_s;
    QTest::newRow("meta after the title, past an element of the body")
        << "<title>caf\xC3\xA9</title>" + comment + "<div>x</div><meta charset=koi8-r>" << QByteArray("UTF-8")
        << u"<title>café</title>"_s + QString::fromLatin1(comment) + u"<div>x</div><meta charset=koi8-r>"_s;
    QTest::newRow("XML declaration")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?><title>\xB3\xF3"
                      "d\xBC</title>")
        << QByteArray("ISO-8859-2")
        << u"<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?><title>łódź</title>"_s;
    QTest::newRow("XML declaration, single quotes, spaces")
        << QByteArray("<?xml version='1.0' encoding = 'koi8-r' ?><title>\xF0\xD2</title>")
        << QByteArray("KOI8-R") << u"<?xml version='1.0' encoding = 'koi8-r' ?><title>Пр</title>"_s;
    QTest::newRow("meta wins over an XML declaration")
        << QByteArray(
               "<?xml version='1.0' encoding='iso-8859-2'?><meta charset=koi8-r><title>\xF0\xD2</title>")
        << QByteArray("KOI8-R")
        << u"<?xml version='1.0' encoding='iso-8859-2'?><meta charset=koi8-r><title>Пр</title>"_s;
    QTest::newRow("late meta wins over an XML declaration")
        << "<?xml version='1.0' encoding='iso-8859-2'?>" + comment +
               "<meta charset=koi8-r><title>\xF0\xD2</title>"
        << QByteArray("KOI8-R")
        << u"<?xml version='1.0' encoding='iso-8859-2'?>"_s + QString::fromLatin1(comment) +
               u"<meta charset=koi8-r><title>Пр</title>"_s;
    QTest::newRow("UTF-8 cut off at the page's end")
        << QByteArray("<title>caf\xC3\xA9 \xF0\x9F\x98") << QByteArray("UTF-8") << u"<title>café \uFFFD"_s;
    QTest::newRow("UTF-8 cut off after the title") << QByteArray("<title>caf\xC3\xA9</title>\xE2\x82")
                                                   << QByteArray("UTF-8") << u"<title>café</title>\uFFFD"_s;
    // A sequence cut short within the text, a lead byte and a continuation byte at least, is UTF-8
    // gone wrong where whole sequences are as many; a lone lead byte is a legacy letter.
    QTest::newRow("UTF-8 broken before the end") << QByteArray("<title>caf\xC3\xA9 \xF0\x9F\x98</title>")
                                                 << QByteArray("UTF-8") << u"<title>café \uFFFD</title>"_s;
    QTest::newRow("UTF-8 cut short twice, ended by another sequence")
        << QByteArray("<p>\xC3\xBC \xE2\x82\xC3\xB6 \xF0\x9F\x98\x80 \xE2\x82") << QByteArray("UTF-8")
        << u"<p>ü \uFFFDö 😀 \uFFFD"_s;
    QTest::newRow("lone lead byte beside valid UTF-8")
        << QByteArray("<title>caf\xC3\xA9 na\xEFve</title>") << QByteArray("windows-1252")
        << u"<title>cafÃ© naïve</title>"_s;
    QTest::newRow("cut sequence, no whole one")
        << QByteArray("<p>a \xE2\x82 b</p>") << QByteArray("windows-1252") << u"<p>a â‚ b</p>"_s;
    QTest::newRow("more cut sequences than whole ones")
        << QByteArray("<p>\xC3\xA9 \xE2\x82 x \xE2\x82 y</p>") << QByteArray("windows-1252")
        << u"<p>Ã© â‚ x â‚ y</p>"_s;
    QTest::newRow("legacy letter last")
        << QByteArray("<p>Le gar\xE7on a mang\xE9 une cr\xE8me br\xFBl\xE9"
                      "e tr\xE8s sucr\xE9"
                      "e, o\xF9 est le caf\xE9")
        << QByteArray("windows-1252")
        << u"<p>Le garçon a mangé une crème brûlée très sucrée, où est le café"_s;
    QTest::newRow("iso-8859-16 declared")
        << QByteArray("<meta charset=iso-8859-16><title>Bucure\xBAti \xA4</title>")
        << QByteArray("ISO-8859-16") << u"<meta charset=iso-8859-16><title>București €</title>"_s;
    QTest::newRow("XML declaration not at the start")
        << QByteArray(" <?xml version='1.0' encoding='koi8-r'?><p>caf\xC3\xA9") << QByteArray("UTF-8")
        << u" <?xml version='1.0' encoding='koi8-r'?><p>café"_s;
    QTest::newRow("byte-order mark before an XML declaration")
        << QByteArray("\xEF\xBB\xBF<?xml version='1.0' encoding='koi8-r'?>\xC3\xA9") << QByteArray("UTF-8")
        << u"<?xml version='1.0' encoding='koi8-r'?>é"_s;
}

void DecodeTest::detect() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, encoding);
    QFETCH(QString, text);
    QCOMPARE(DetectEncoding(bytes), encoding);
    QCOMPARE(DecodePage(bytes), text);
}

void DecodeTest::legacyTitles_data() {
    QTest::addColumn<QByteArray>("encoder");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("body");

    struct Sample {
        const char* encoder;
        const char* label;
        const char16_t* title;
        const char16_t* body;
    };
    const Sample samples[] = {
        {"windows-1252", "iso-8859-1", u"Café à la crème – €5",
         u"Le garçon a mangé une crème brûlée très sucrée avant de repartir à l'école. Où est la "
         u"bibliothèque? Ça dépend de l'hôtel où vous êtes."},
        {"ISO-8859-2", "latin2", u"Příliš žluťoučký kůň",
         u"Příliš žluťoučký kůň úpěl ďábelské ódy. Zdeněk a Šárka šli do města, kde koupili čerstvé pečivo "
         u"a řekli, že zítra přijdou znovu. Vážení přátelé, děkujeme za vaši účast."},
        {"KOI8-R", "koi8-r", u"Привет, мир",
         u"Съешь же ещё этих мягких французских булок, да выпей чаю. В чащах юга жил бы цитрус? Да, но "
         u"фальшивый экземпляр! Широкая электрификация южных губерний даст мощный толчок подъёму."},
        // Baltic punctuation lies in 0x80-0x9F, where the ISO-8859-13 that the text resembles has
        // control characters.
        {"windows-1257", "cp1257", u"Lietuvos žinios – „naujienos“",
         u"Lietuvių kalba yra viena seniausių gyvų indoeuropiečių kalbų. Šiandien ją vartoja apie tris "
         u"milijonus žmonių. Ąžuolas, ėriukas, įvairūs šaltiniai, ūkininkų žemė – „gražūs“ žodžiai."},
        {"windows-1251", "cp1251", u"Привет, мир",
         u"Съешь же ещё этих мягких французских булок, да выпей чаю. В чащах юга жил бы цитрус? Да, но "
         u"фальшивый экземпляр! Широкая электрификация южных губерний даст мощный толчок подъёму."},
        {"Shift_JIS", "x-sjis", u"日本語のページ",
         u"いろはにほへと　ちりぬるを　わかよたれそ　つねならむ　うゐのおくやま　けふこえて　あさきゆめみし"
         u"　ゑひもせす。今日は良い天気ですね。私は東京に住んでいます。"},
        {"EUC-JP", "euc-jp", u"日本語のページ",
         u"いろはにほへと　ちりぬるを　わかよたれそ　つねならむ　うゐのおくやま　けふこえて　あさきゆめみし"
         u"　ゑひもせす。今日は良い天気ですね。私は東京に住んでいます。"},
        // Microsoft's extension of EUC-KR, with syllables the plain form lacks.
        {"windows-949", "euc-kr", u"똠방각하 햏자 뷁",
         u"똠방각하 햏자 뷁 오늘은 날씨가 좋습니다. 쀍 괜찮아요, 학교에 갑니다. 저는 서울에 살고 있습니다. "
         u"똠방각하 햏자 뷁 오늘은 날씨가 좋습니다."},
        {"EUC-KR", "euc-kr", u"한국어 페이지",
         u"다람쥐 헌 쳇바퀴에 타고파. 키스의 고유조건은 입술끼리 만나야 하고 특별한 기술은 필요치 않다. "
         u"오늘은 날씨가 좋습니다. 저는 서울에 살고 있습니다."},
        {"GB2312", "gb2312", u"中文网页",
         u"我能吞下玻璃而不伤身体。今天天气很好，我们一起去公园散步吧。中华人民共和国成立于一九四九年。"
         u"北京是中国的首都，有很多名胜古迹。"},
        {"ISO-2022-JP", "iso-2022-jp", u"日本語のページ",
         u"いろはにほへと　ちりぬるを　わかよたれそ　つねならむ　うゐのおくやま　けふこえて　あさきゆめみし"
         u"　ゑひもせす。今日は良い天気ですね。私は東京に住んでいます。"},
        {"Big5", "big5", u"中文網頁",
         u"我能吞下玻璃而不傷身體。今天天氣很好，我們一起去公園散步吧。臺北是臺灣的首都，有很多名勝古蹟。"
         u"學習中文需要很多時間和耐心。"},
    };
    for (const Sample& s : samples) {
        const QString title = QString::fromUtf16(s.title);
        const QString body = QString::fromUtf16(s.body);
        QTest::addRow("%s, meta charset", s.encoder)
            << QByteArray(s.encoder) << QByteArray("<meta charset=\"") + s.label + "\">" << title
            << QString();
        QTest::addRow("%s, http-equiv", s.encoder)
            << QByteArray(s.encoder)
            << QByteArray("<meta http-equiv=Content-Type content=\"text/html; charset=") + s.label + "\">"
            << title << QString();
        // Undeclared: only the text itself tells, so give the guess a few paragraphs.
        QTest::addRow("%s, undeclared", s.encoder) << QByteArray(s.encoder) << QByteArray() << title << body;
    }
}

void DecodeTest::legacyTitles() {
    QFETCH(QByteArray, encoder);
    QFETCH(QByteArray, head);
    QFETCH(QString, title);
    QFETCH(QString, body);
    QString text =
        u"<html><head>"_s + QString::fromLatin1(head) + u"<title>"_s + title + u"</title></head><body>"_s;
    for (int i = 0; i < 8; ++i)
        text += u"<p>"_s + body + u"</p>\n"_s;
    text += u"</body></html>"_s;
    QStringEncoder encode(encoder.constData());
    QVERIFY(encode.isValid());
    const QByteArray page = encode.encode(text);
    QVERIFY(!encode.hasError());

    QTemporaryDir dir;
    QCOMPARE(ReadPageTitle(WriteFixture(dir.path(), u"legacy.htm"_s, page)), std::optional(title));
    QCOMPARE(FindTitle(DecodePage(page)), std::optional(title));
}

void DecodeTest::untrustedEncodingGivesNoTitle() {
    // Text in ISO-2022-KR can hide markup in innocent-looking bytes: like a browser, take none of it.
    QTemporaryDir dir;
    const QString path = WriteFixture(dir.path(), u"kr.htm"_s, "<meta charset=iso-2022-kr><title>Hi</title>");
    QCOMPARE(ReadPageTitle(path), std::nullopt);
}

void DecodeTest::decoders_data() {
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    struct Row {
        const char* name;
        const char* encoding;
        QByteArray bytes;
        const char16_t* text;
    };
    const Row rows[] = {
        // UTF-8: one U+FFFD for each maximal subpart of a broken sequence.
        {"UTF-8 cut four-byte sequence", "UTF-8", "a\xF0\x9F\x98", u"a\uFFFD"},
        {"UTF-8 cut sequence before ASCII", "UTF-8", "\xF0\x9F\x98z", u"\uFFFDz"},
        {"UTF-8 overlong", "UTF-8", "\xC0\x80\xE0\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"UTF-8 surrogate", "UTF-8", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"UTF-8 past U+10FFFF", "UTF-8", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"UTF-8 lone trail bytes", "UTF-8", "\x80\xBFx", u"\uFFFD\uFFFDx"},
        {"UTF-8 mark kept as text", "UTF-8", "\xEF\xBB\xBFx", u"\uFEFFx"},
        // Single-byte tables.
        {"iso-8859-16", "ISO-8859-16", "\xA1\xA4\xDE", u"\u0104\u20AC\u021A"},
        {"windows-1252 C1 byte with no letter", "windows-1252", "\x80\x81\x9F", u"\u20AC\u0081\u0178"},
        {"windows-874 unassigned byte", "windows-874",
         "\xDB"
         "a",
         u"\uFFFDa"},
        {"ISO-8859-8-I as ISO-8859-8", "ISO-8859-8-I", "\xE0\xFA", u"\u05D0\u05EA"},
        {"IBM866 control bytes as ASCII", "IBM866", "\x1A\x1C\x7F\x80", u"\u001A\u001C\u007F\u0410"},
        {"x-user-defined", "x-user-defined", "a\x80\xFF", u"a\uF780\uF7FF"},
        {"replacement", "replacement", "abc", u"\uFFFD"},
        // GB18030 and GBK share one decoder, with the 2022 mappings.
        {"gbk 0x80", "GBK", "\x80", u"\u20AC"},
        {"gb18030 two bytes, 2022 mapping", "gb18030", "\xA6\xD9\xB0\xA1", u"\uFE10\u554A"},
        {"gb18030 four bytes", "gb18030", "\x81\x30\x81\x30\x84\x31\xA4\x39", u"\u0080\uFFFF"},
        {"gb18030 four bytes, astral", "gb18030", "\x90\x30\x81\x30\xE3\x32\x9A\x35",
         u"\U00010000\U0010FFFF"},
        {"gb18030 pointer 7457", "gb18030", "\x81\x35\xF4\x37", u"\uE7C7"},
        {"gb18030 four bytes out of range", "gb18030", "\x84\x31\xA5\x30", u"\uFFFD"},
        {"gb18030 broken four bytes", "gb18030", "\x81\x30\x20", u"\uFFFD0 "},
        {"gb18030 ASCII after lead", "gb18030", "\x81\x20", u"\uFFFD "},
        {"gb18030 cut at the end", "gb18030", "a\x81\x30\x81", u"a\uFFFD"},
        {"gb18030 0xFF", "gb18030", "\xFF", u"\uFFFD"},
        // Big5 with the Hong Kong extensions.
        {"big5", "Big5", "\xA4\x40\xA4\xA4", u"\u4E00\u4E2D"},
        {"big5 pairs", "Big5", "\x88\x62\x88\x64\x88\xA3\x88\xA5",
         u"\u00CA\u0304\u00CA\u030C\u00EA\u0304\u00EA\u030C"},
        {"big5 plane 2", "Big5", "\x87\x45", u"\U00027267"},
        {"big5 ASCII after lead", "Big5", "\xA4\x20", u"\uFFFD "},
        {"big5 0x80", "Big5", "\x80", u"\uFFFD"},
        // Japanese.
        {"shift_jis", "Shift_JIS", "\x82\xA0\xA1\x5C\x7E", u"\u3042\uFF61\\~"},
        {"shift_jis 0x80 and 0xA0", "Shift_JIS", "\x80\xA0", u"\u0080\uFFFD"},
        {"shift_jis private use", "Shift_JIS", "\xF0\x40", u"\uE000"},
        {"shift_jis ASCII after lead", "Shift_JIS", "\x81\x20", u"\uFFFD "},
        {"shift_jis cut at the end", "Shift_JIS", "a\x82", u"a\uFFFD"},
        {"euc-jp", "EUC-JP", "\xA4\xA2\x8E\xA1", u"\u3042\uFF61"},
        {"euc-jp JIS X 0212", "EUC-JP", "\x8F\xB0\xA1", u"\u4E02"},
        {"euc-jp ASCII after lead", "EUC-JP", "\x8E\x20", u"\uFFFD "},
        {"euc-jp cut at the end", "EUC-JP", "\xA4", u"\uFFFD"},
        {"iso-2022-jp", "ISO-2022-JP", "a\x1B$B$\"\x1B(Bb", u"a\u3042b"},
        {"iso-2022-jp roman", "ISO-2022-JP", "\x1B(J\x5C\x7E", u"\u00A5\u203E"},
        {"iso-2022-jp katakana", "ISO-2022-JP", "\x1B(I!", u"\uFF61"},
        {"iso-2022-jp empty escape", "ISO-2022-JP", "\x1B$B\x1B(Bx", u"\uFFFDx"},
        {"iso-2022-jp unknown escape", "ISO-2022-JP", "\x1B(Zx", u"\uFFFD(Zx"},
        {"iso-2022-jp shift out", "ISO-2022-JP", "\x0E", u"\uFFFD"},
        {"iso-2022-jp cut character", "ISO-2022-JP", "\x1B$B$", u"\uFFFD"},
        // Korean: Microsoft's extension of EUC-KR.
        {"euc-kr", "EUC-KR", "\xB0\xA1\x81\x41", u"\uAC00\uAC02"},
        {"euc-kr 0x80 and 0xFF", "EUC-KR", "\x80\xFF", u"\uFFFD\uFFFD"},
        {"euc-kr ASCII after lead", "EUC-KR", "\xB0\x20", u"\uFFFD "},
        // UTF-16: a lone surrogate is an error, the unit after it is read afresh.
        {"utf-16le pair", "UTF-16LE", QByteArray("\x3D\xD8\x00\xDE", 4), u"\U0001F600"},
        {"utf-16le lone high", "UTF-16LE", QByteArray("\x00\xD8\x41\x00", 4), u"\uFFFDA"},
        {"utf-16le lone low", "UTF-16LE",
         QByteArray("\x00\xDC"
                    "a\x00",
                    4),
         u"\uFFFDa"},
        {"utf-16le odd byte", "UTF-16LE",
         QByteArray("a\x00"
                    "b",
                    3),
         u"a\uFFFD"},
        {"utf-16le high and odd byte", "UTF-16LE", QByteArray("\x00\xD8z", 3), u"\uFFFD"},
        {"utf-16be", "UTF-16BE",
         QByteArray("\x00"
                    "a\xD8\x3D\xDE\x00",
                    6),
         u"a\U0001F600"},
    };
    for (const Row& row : rows)
        QTest::newRow(row.name) << QByteArray(row.encoding) << row.bytes << QStringView(row.text).toString();
}

void DecodeTest::decoders() {
    QFETCH(QByteArray, encoding);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DecodeAs(encoding, bytes), text);
}

namespace {

// The rows of one of the Encoding Standard's index files: pointer and code point.
QList<std::pair<int, char32_t>> ReadIndex(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<std::pair<int, char32_t>> rows;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2)
            rows.append({fields[0].toInt(), char32_t(fields[1].toUInt(nullptr, 16))});
    }
    return rows;
}

QString Text(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

} // namespace

void DecodeTest::everyLabelAndIndexPointer() {
    const QString root = ConformanceDir();
    if (root.isEmpty())
        QSKIP("no conformance data (shared/conformance above the source folder, or PAGEWICK_CONFORMANCE)");
    const QString dir = root + u"/whatwg-encoding/"_s;

    // Every label names its encoding.
    QFile json(dir + u"encodings.json"_s);
    QVERIFY(json.open(QIODevice::ReadOnly));
    int labels = 0;
    for (const QJsonValue group : QJsonDocument::fromJson(json.readAll()).array()) {
        for (const QJsonValue encoding : group[u"encodings"_s].toArray()) {
            const QByteArray name = encoding[u"name"_s].toString().toLatin1();
            for (const QJsonValue label : encoding[u"labels"_s].toArray()) {
                QCOMPARE(EncodingForLabel(label.toString().toLatin1()), name);
                ++labels;
            }
        }
    }
    QVERIFY(labels > 200);

    // Every pointer of every index decodes to its code point; a pointer the index leaves out is an
    // error. Each index is reached through a decoder that uses it.
    const auto check = [](QByteArrayView encoding, const QList<std::pair<int, char32_t>>& rows, int pointers,
                          auto bytesFor, auto skip) {
        QHash<int, char32_t> map;
        for (const auto& [pointer, cp] : rows)
            map.insert(pointer, cp);
        for (int pointer = 0; pointer < pointers; ++pointer) {
            if (skip(pointer))
                continue;
            const QByteArray bytes = bytesFor(pointer);
            const QString text = DecodeAs(encoding, bytes);
            const auto found = map.constFind(pointer);
            if (found != map.cend()) {
                if (text != Text(*found))
                    return u"%1 pointer %2: %3"_s.arg(QLatin1StringView(encoding)).arg(pointer).arg(text);
            } else if (!text.startsWith(QChar::ReplacementCharacter)) {
                return u"%1 pointer %2 not an error: %3"_s.arg(QLatin1StringView(encoding))
                    .arg(pointer)
                    .arg(text);
            }
        }
        return QString();
    };
    const auto never = [](int) { return false; };

    const QStringList singleByte = {
        u"ibm866"_s,       u"iso-8859-2"_s,    u"iso-8859-3"_s,   u"iso-8859-4"_s,   u"iso-8859-5"_s,
        u"iso-8859-6"_s,   u"iso-8859-7"_s,    u"iso-8859-8"_s,   u"iso-8859-10"_s,  u"iso-8859-13"_s,
        u"iso-8859-14"_s,  u"iso-8859-15"_s,   u"iso-8859-16"_s,  u"koi8-r"_s,       u"koi8-u"_s,
        u"macintosh"_s,    u"windows-874"_s,   u"windows-1250"_s, u"windows-1251"_s, u"windows-1252"_s,
        u"windows-1253"_s, u"windows-1254"_s,  u"windows-1255"_s, u"windows-1256"_s, u"windows-1257"_s,
        u"windows-1258"_s, u"x-mac-cyrillic"_s};
    for (const QString& name : singleByte) {
        const auto rows = ReadIndex(dir + u"index-"_s + name + u".txt"_s);
        QVERIFY2(!rows.isEmpty(), qPrintable(name));
        const QByteArray encoding = EncodingForLabel(name.toLatin1());
        const QString fault = check(
            encoding, rows, 128, [](int p) { return QByteArray(1, char(0x80 + p)); }, never);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    const auto twoBytes = [](int lead, int trail) {
        QByteArray bytes;
        bytes.append(char(lead));
        bytes.append(char(trail));
        return bytes;
    };
    struct Multi {
        const char* index;
        const char* encoding;
        int pointers;
        std::function<QByteArray(int)> bytesFor;
        std::function<bool(int)> skip;
    };
    const Multi multi[] = {
        // Shift_JIS reaches every JIS X 0208 pointer but those it reads as private use.
        {"jis0208", "Shift_JIS", 11280,
         [&](int p) {
             const int lead = p / 188, trail = p % 188;
             return twoBytes(lead + (lead < 0x1F ? 0x81 : 0xC1), trail + (trail < 0x3F ? 0x40 : 0x41));
         },
         [](int p) { return p >= 8836 && p <= 10715; }},
        {"jis0212", "EUC-JP", 94 * 94, [&](int p) { return "\x8F" + twoBytes(p / 94 + 0xA1, p % 94 + 0xA1); },
         never},
        {"euc-kr", "EUC-KR", 126 * 190, [&](int p) { return twoBytes(p / 190 + 0x81, p % 190 + 0x41); },
         never},
        {"gb18030", "gb18030", 126 * 190,
         [&](int p) {
             const int trail = p % 190;
             return twoBytes(p / 190 + 0x81, trail + (trail < 0x3F ? 0x40 : 0x41));
         },
         never},
        // Four Big5 pointers stand for two code points each (the decoders table holds them).
        {"big5", "Big5", 126 * 157,
         [&](int p) {
             const int trail = p % 157;
             return twoBytes(p / 157 + 0x81, trail + (trail < 0x3F ? 0x40 : 0x62));
         },
         [](int p) { return p == 1133 || p == 1135 || p == 1164 || p == 1166; }},
    };
    for (const Multi& m : multi) {
        const auto rows = ReadIndex(dir + u"index-"_s + QLatin1StringView(m.index) + u".txt"_s);
        QVERIFY2(!rows.isEmpty(), m.index);
        const QString fault = check(m.encoding, rows, m.pointers, m.bytesFor, m.skip);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // GB18030's four-byte ranges: the first and last pointer of each.
    const auto ranges = ReadIndex(dir + u"index-gb18030-ranges.txt"_s);
    QVERIFY(!ranges.isEmpty());
    const auto fourBytes = [](int p) {
        QByteArray bytes;
        bytes.append(char(p / 12600 + 0x81));
        bytes.append(char(p / 1260 % 10 + 0x30));
        bytes.append(char(p / 10 % 126 + 0x81));
        bytes.append(char(p % 10 + 0x30));
        return bytes;
    };
    for (qsizetype k = 0; k < ranges.size(); ++k) {
        const auto [pointer, cp] = ranges[k];
        if (pointer == 189000) {
            QCOMPARE(DecodeAs("gb18030", fourBytes(pointer)), Text(cp));
            continue;
        }
        QCOMPARE(DecodeAs("gb18030", fourBytes(pointer)), Text(cp));
        const int last =
            k + 1 < ranges.size() && ranges[k + 1].first != 189000 ? ranges[k + 1].first - 1 : 39419;
        if (last != 7457)
            QCOMPARE(DecodeAs("gb18030", fourBytes(last)), Text(cp + char32_t(last - pointer)));
    }
}

void DecodeTest::sniffingAsBrowsers_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("encoding");
    const QString root = ConformanceDir();
    if (root.isEmpty())
        QSKIP("no conformance data (shared/conformance above the source folder, or PAGEWICK_CONFORMANCE)");
    // html5lib's cases: #data, then the #encoding a browser settles on. The scripted ones need a
    // script run and are not among them.
    QDirIterator files(root + u"/html5lib-tests/encoding"_s, {u"*.dat"_s}, QDir::Files);
    QStringList paths;
    while (files.hasNext())
        paths.append(files.next());
    paths.sort();
    for (const QString& path : paths) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray all = file.readAll();
        int number = 0;
        for (qsizetype at = all.indexOf("#data\n"); at >= 0; at = all.indexOf("\n#data\n", at)) {
            at = all.indexOf('\n', at + 1) + 1;
            const qsizetype end = all.indexOf("\n#encoding\n", at);
            QVERIFY(end >= 0);
            const qsizetype valueAt = end + 11;
            const QByteArray expected = all.mid(valueAt, all.indexOf('\n', valueAt) - valueAt).trimmed();
            const QString name = QFileInfo(path).fileName();
            ++number;
            // A meta element written inside a script or a style sheet (as text or by
            // document.write) declares nothing in a browser (Chromium reads these three as
            // windows-1252), whatever the prescan of the HTML standard says.
            const bool browserDiffers = name == u"tests1.dat"_s && number >= 55 && number <= 57;
            QTest::addRow("%s #%d", qPrintable(name), number)
                << all.mid(at, end - at)
                << (browserDiffers ? QByteArray("windows-1252") : EncodingForLabel(expected));
            at = valueAt;
        }
    }
}

void DecodeTest::sniffingAsBrowsers() {
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, encoding);
    const QByteArray detected = DetectEncoding(page);
    // A browser falls back to its locale's default (windows-1252) where the reader takes UTF-8 for
    // bytes that are valid UTF-8; for bytes that are all ASCII the two read the same.
    if (detected == "UTF-8" && encoding == "windows-1252" && !page.isEmpty() &&
        std::all_of(page.cbegin(), page.cend(), [](char c) { return uchar(c) < 0x80; }))
        return;
    QCOMPARE(detected, encoding);
}

QTEST_GUILESS_MAIN(DecodeTest)
#include "tst_decode.moc"
