// The loops that look at every byte of a page, in each variant the build can choose (SSE2 and
// portable code): this test is built once with each, so both give the same answers on any machine
// that builds them.

#include "engine/reading/bytescan_p.h"

#include <QTest>

using namespace pagewick;

class ByteScanTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void byteScans_data();
    void byteScans();
};

// The loops go sixteen or more bytes a step: what they find must not depend on where it falls
// against those steps.
void ByteScanTest::byteScans_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("mayHoldTitle");
    QTest::addColumn<int>("firstNonAscii");
    const auto x = [](int n) { return QByteArray(n, 'x'); };
    QTest::newRow("empty") << QByteArray() << false << 0;
    QTest::newRow("a title tag alone") << QByteArray("<title>") << true << 7;
    QTest::newRow("any letter case") << x(40) + "<TiTlE>" + x(40) << true << 87;
    QTest::newRow("across the first step of 32") << x(29) + "<title" + x(45) << true << 80;
    QTest::newRow("in the last step") << x(60) + "<title" + x(34) << true << 100;
    QTest::newRow("at the very end") << x(194) + "<title" << true << 200;
    QTest::newRow("\"<titl\" and \"<tit\" only") << x(40) + "<titl" + x(40) + "<tit" << false << 89;
    QTest::newRow("many tags, none a title") << QByteArray("<p><i><t><ti><b>").repeated(20) << false << 320;
    QTest::newRow("non-ASCII first") << "\xc3\xa9" + x(100) << false << 0;
    for (const int at : {15, 16, 17, 63, 64, 65, 127, 199}) {
        QTest::addRow("non-ASCII at %d", at) << x(at) + "\x80" + x(199 - at) << false << at;
    }
    QTest::newRow("none in a thousand bytes") << x(1000) << false << 1000;
}

void ByteScanTest::byteScans() {
    QFETCH(QByteArray, bytes);
    QTEST(detail::MayHoldTitleTag(bytes), "mayHoldTitle");
    QTEST(int(detail::FirstNonAscii(bytes)), "firstNonAscii");
}

QTEST_GUILESS_MAIN(ByteScanTest)
#include "tst_bytescan.moc"
