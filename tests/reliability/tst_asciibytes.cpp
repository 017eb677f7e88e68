// Every encoding a page can be read in, other than the UTF-16 forms and ISO-2022-JP, reads each
// byte below 0x80 as that ASCII character, as browsers do: the title reader finds tags in the
// bytes and decodes only the title, so a decoder that maps them otherwise gives other titles.

#include "engine/text/decode.h"

#include <QTest>

class AsciiBytesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void asciiBytesAreAscii_data() {
        QTest::addColumn<QByteArray>("label");
        for (const char* label :
             {"utf-8",        "ibm866",       "iso-8859-2",   "iso-8859-3",     "iso-8859-4",
              "iso-8859-5",   "iso-8859-6",   "iso-8859-7",   "iso-8859-8",     "iso-8859-8-i",
              "iso-8859-10",  "iso-8859-13",  "iso-8859-14",  "iso-8859-15",    "iso-8859-16",
              "koi8-r",       "koi8-u",       "macintosh",    "windows-874",    "windows-1250",
              "windows-1251", "windows-1252", "windows-1253", "windows-1254",   "windows-1255",
              "windows-1256", "windows-1257", "windows-1258", "x-mac-cyrillic", "gbk",
              "gb18030",      "big5",         "euc-jp",       "shift_jis",      "euc-kr"})
            QTest::newRow(label) << QByteArray(label);
    }

    void asciiBytesAreAscii() {
        QFETCH(QByteArray, label);
        const QByteArray encoding = pagewick::EncodingForLabel(label);
        if (encoding.isEmpty())
            QSKIP("this Qt cannot decode the encoding");
        QByteArray bytes;
        QString expected;
        for (int b = 0; b < 0x80; ++b) {
            bytes += char(b);
            expected += QChar(b);
        }
        // Alone, and between non-ASCII characters of the encoding.
        QCOMPARE(pagewick::DecodeAs(encoding, bytes), expected);
        const QString around = pagewick::DecodeAs(encoding, "\xA4\xA4" + bytes + "\xA4\xA4");
        QVERIFY2(around.contains(expected), qPrintable(QString::fromLatin1(encoding)));
    }
};

QTEST_GUILESS_MAIN(AsciiBytesTest)
#include "tst_asciibytes.moc"
