// The window icon: drawn when Pagewick is not installed, taken from the icon theme when it is, so
// that the launcher, the task bar and the window show the same picture.

#include "ui/icon.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

class IconTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void drawing_data() {
        QTest::addColumn<int>("side");
        QTest::newRow("16") << 16;
        QTest::newRow("32") << 32;
        QTest::newRow("256") << 256;
    }
    void drawing() {
        QFETCH(int, side);
        const QImage image = DrawPagewickIcon(side);
        QCOMPARE(image.size(), QSize(side, side));
        // Transparent outside the diamond, yellow inside it, the arrow black on the middle line.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(side - 1, side - 1)), 0);
        const QRgb body = image.pixel(side / 4 + 2, side / 2);
        QVERIFY2(qRed(body) > 200 && qGreen(body) > 180 && qBlue(body) < 60, "the diamond is not yellow");
        const QRgb arrow = image.pixel(side / 2, side * 6 / 10);
        QVERIFY2(qRed(arrow) < 60 && qGreen(arrow) < 60 && qBlue(arrow) < 60, "no black arrow in the middle");
        // The outline stays inside the image at every size: its corners do not touch the edges.
        QVERIFY(qAlpha(image.pixel(side / 2, 0)) > 0 || side <= 16);
    }

    void drawnWhenNotInstalled() {
        QIcon::setThemeSearchPaths({});
        const QIcon icon = PagewickIcon();
        QVERIFY(!icon.isNull());
        const QList<QSize> sizes = icon.availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(32, 32)));
    }

    void fromThemeWhenInstalled() {
        QTemporaryDir icons;
        QVERIFY(icons.isValid());
        const QString hicolor = icons.filePath(u"hicolor"_s);
        QVERIFY(QDir().mkpath(hicolor + u"/32x32/apps"_s));
        QFile index(hicolor + u"/index.theme"_s);
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write(
            "[Icon Theme]\nName=Hicolor\nDirectories=32x32/apps\n\n[32x32/apps]\nSize=32\nType=Fixed\n");
        index.close();
        QVERIFY(DrawPagewickIcon(32).save(hicolor + u"/32x32/apps/io.pagewick.Pagewick.png"_s));

        QIcon::setThemeSearchPaths({icons.path()});
        QIcon::setThemeName(u"hicolor"_s);
        const QIcon icon = PagewickIcon();
        QCOMPARE(icon.name(), u"io.pagewick.Pagewick"_s);
        QVERIFY(!icon.pixmap(32).isNull());
    }
};

QTEST_MAIN(IconTest)
#include "tst_icon.moc"
