#include "engine/files/filename.h"
#include "engine/files/paths.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class PathsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nameFromBytes_data();
    void nameFromBytes();
    void everyByteStringRoundTrips();
    void validTextGivesItsUtf8_data();
    void validTextGivesItsUtf8();
    void trailingSeparator_data();
    void trailingSeparator();
    void percentEncoding_data();
    void percentEncoding();
};

static QString Escaped(std::initializer_list<uchar> bytes) {
    QString s;
    for (const uchar b : bytes)
        s += QChar(char16_t(0xDC00 + b));
    return s;
}

void PathsTest::nameFromBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::newRow("ascii") << QByteArray("index.htm") << u"index.htm"_s;
    QTest::newRow("utf-8") << QByteArray("caf\xC3\xA9.htm") << u"café.htm"_s;
    QTest::newRow("four-byte utf-8") << QByteArray("\xF0\x9F\x98\x80.htm") << u"😀.htm"_s;
    QTest::newRow("latin-1 byte") << QByteArray("caf\xE9.htm") << u"caf"_s + Escaped({0xE9}) + u".htm"_s;
    QTest::newRow("cut sequence") << QByteArray("\xE2\x82.htm") << Escaped({0xE2, 0x82}) + u".htm"_s;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << Escaped({0xC0, 0xAF});
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << Escaped({0xED, 0xA0, 0x80});
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << Escaped({0xF4, 0x90, 0x80, 0x80});
    QTest::newRow("stray trail byte") << QByteArray("a\x80z") << u"a"_s + Escaped({0x80}) + u"z"_s;
    QTest::newRow("valid after invalid") << QByteArray("\xFF\xC3\xA9") << Escaped({0xFF}) + u"é"_s;
}

void PathsTest::nameFromBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QCOMPARE(FileNameFromBytes(bytes), name);
    QCOMPARE(FileNameToBytes(name), bytes);
}

void PathsTest::everyByteStringRoundTrips() {
    // Short random strings over all byte values, with UTF-8 lead and trail bytes made common.
    QRandomGenerator random(20240601);
    static const uchar favoured[] = {0x80, 0xBF, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xA0, 0x9F, 'a'};
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        const int length = int(random.bounded(1, 9));
        for (int i = 0; i < length; ++i) {
            bytes += random.bounded(2) ? char(favoured[random.bounded(int(std::size(favoured)))])
                                       : char(random.bounded(1, 256));
        }
        const QString name = FileNameFromBytes(bytes);
        if (FileNameToBytes(name) != bytes)
            QFAIL(qPrintable(u"no round trip for "_s + QString::fromLatin1(bytes.toHex(' '))));
    }
}

void PathsTest::validTextGivesItsUtf8_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << u"News.HTM"_s;
    QTest::newRow("accents and CJK") << u"Über 日本.html"_s;
    QTest::newRow("astral") << u"𝄞 music.htm"_s;
    QTest::newRow("private use next to escapes") << u"\uE000\uFFFD\U0010FFFF"_s;
}

void PathsTest::validTextGivesItsUtf8() {
    QFETCH(QString, text);
    QCOMPARE(FileNameToBytes(text), text.toUtf8());
    QCOMPARE(FileNameFromBytes(text.toUtf8()), text);
}

void PathsTest::trailingSeparator_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("without") << u"/site"_s << u"/site/"_s;
    QTest::newRow("with") << u"/site/"_s << u"/site/"_s;
    QTest::newRow("empty is the root") << QString() << u"/"_s;
    QTest::newRow("doubled kept") << u"/site//"_s << u"/site//"_s;
    QTest::newRow("backslash is a name character") << u"/site\\"_s << u"/site\\/"_s;
}

void PathsTest::trailingSeparator() {
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(EnsureTrailingSeparator(folder), expected);
    QCOMPARE(PagePath(folder, u"a.htm"_s), expected + u"a.htm"_s);
    // Web addresses follow the same rule with "/".
    QCOMPARE(EnsureTrailingSlash(folder), expected);
}

void PathsTest::percentEncoding_data() {
    // segment: the name as one path segment; path: the name as a relative page path, whose "/"
    // stays between the parts it separates.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("segment");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << u"index.htm"_s << u"index.htm"_s << u"index.htm"_s;
    QTest::newRow("unreserved") << u"A-Z_a~z.0-9.htm"_s << u"A-Z_a~z.0-9.htm"_s << u"A-Z_a~z.0-9.htm"_s;
    QTest::newRow("space") << u"my page.htm"_s << u"my%20page.htm"_s << u"my%20page.htm"_s;
    QTest::newRow("url syntax") << u"a#b?c%d/e+f,g;h=i@j.htm"_s
                                << u"a%23b%3Fc%25d%2Fe%2Bf%2Cg%3Bh%3Di%40j.htm"_s
                                << u"a%23b%3Fc%25d/e%2Bf%2Cg%3Bh%3Di%40j.htm"_s;
    QTest::newRow("html syntax") << u"q\"'&<>.htm"_s << u"q%22%27%26%3C%3E.htm"_s
                                 << u"q%22%27%26%3C%3E.htm"_s;
    QTest::newRow("control") << u"tab\t.htm"_s << u"tab%09.htm"_s << u"tab%09.htm"_s;
    QTest::newRow("non-ascii as utf-8") << u"café.htm"_s << u"caf%C3%A9.htm"_s << u"caf%C3%A9.htm"_s;
    QTest::newRow("non-utf-8 byte as itself")
        << u"caf"_s + Escaped({0xE9}) + u".htm"_s << u"caf%E9.htm"_s << u"caf%E9.htm"_s;
    QTest::newRow("sub-folders") << u"blog/2025/my post.htm"_s << u"blog%2F2025%2Fmy%20post.htm"_s
                                 << u"blog/2025/my%20post.htm"_s;
    QTest::newRow("non-utf-8 folder name")
        << u"d"_s + Escaped({0xE9}) + u"j/#1.htm"_s << u"d%E9j%2F%231.htm"_s << u"d%E9j/%231.htm"_s;
}

void PathsTest::percentEncoding() {
    QFETCH(QString, name);
    QFETCH(QString, segment);
    QFETCH(QString, path);
    QCOMPARE(PercentEncodePathSegment(name), segment);
    QCOMPARE(PercentEncodePagePath(name), path);
}

QTEST_GUILESS_MAIN(PathsTest)
#include "tst_paths.moc"
