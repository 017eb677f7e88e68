#include "engine/decode.h"
#include "engine/decode_p.h"
#include "engine/title.h"
#include "fixture.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

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

QTEST_GUILESS_MAIN(DecodeTest)
#include "tst_decode.moc"
