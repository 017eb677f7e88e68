#include "settings/foldersetting.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace pagewick;

class FolderSettingTest : public QObject {
    Q_OBJECT
    QTemporaryDir scratch;
    QString configHome;
    int runs = 0;

    QString storeFile() const { return configHome + QStringLiteral("/Pagewick/Pagewick.conf"); }

private Q_SLOTS:
    void init() {
        // A fresh per-user store for every case.
        configHome = scratch.filePath(QString::number(++runs));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome);
    }

    void nothingStoredReadsEmpty() {
        QCOMPARE(LoadFolderSetting(), QString());
        QVERIFY(!QFile::exists(storeFile()));
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty") << QString();
        QTest::newRow("plain") << QStringLiteral("/home/ann/site");
        QTest::newRow("trailing separator kept") << QStringLiteral("/home/ann/site/");
        QTest::newRow("not normalised") << QStringLiteral("/home//ann/./site/..");
        QTest::newRow("backslashes") << QStringLiteral("C:\\Web\\site\\");
        QTest::newRow("characters the store escapes") << QStringLiteral(" /a;b=c#d,\"e\" [f] %g ");
        QTest::newRow("non-ASCII") << QStringLiteral("/srv/Cafés/日本語");
    }
    void roundTrip() {
        QFETCH(QString, folder);
        QString error;
        QVERIFY2(SaveFolderSetting(folder, &error), qPrintable(error));
        QCOMPARE(LoadFolderSetting(), folder);
        // Kept under group "Settings", key "Map", in the store of organisation and application "Pagewick".
        QSettings raw(storeFile(), QSettings::IniFormat);
        QCOMPARE(raw.childGroups(), QStringList{QStringLiteral("Settings")});
        QCOMPARE(raw.value(QStringLiteral("Settings/Map")).toString(), folder);
    }

    void laterSaveReplaces() {
        QVERIFY(SaveFolderSetting(QStringLiteral("/first")));
        QVERIFY(SaveFolderSetting(QStringLiteral("/second")));
        QCOMPARE(LoadFolderSetting(), QStringLiteral("/second"));
    }

    // Failures that hold for root too, for whom permission bits are no obstacle.
    void unwritableStore_data() {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("reason");
        QTest::newRow("config folder under a regular file")
            << QStringLiteral("") << QStringLiteral("is not a folder");
        QTest::newRow("settings file is a folder")
            << QStringLiteral("Pagewick/Pagewick.conf") << QStringLiteral("is not a file");
    }
    void unwritableStore() {
        QFETCH(QString, blocker);
        QFETCH(QString, reason);
        if (blocker.isEmpty()) {
            QFile file(configHome);
            QVERIFY(file.open(QIODevice::WriteOnly));
            configHome += QStringLiteral("/config");
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome);
        } else {
            QVERIFY(QDir().mkpath(configHome + u'/' + blocker));
        }
        QString error;
        QVERIFY(!SaveFolderSetting(QStringLiteral("/some/folder"), &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("Pagewick.conf")), qPrintable(error));
        QVERIFY(!SaveFolderSetting(QStringLiteral("/some/folder"))); // no error text wanted
        QCOMPARE(LoadFolderSetting(), QString());
    }
};

QTEST_GUILESS_MAIN(FolderSettingTest)
#include "tst_foldersetting.moc"
