#include "../reliability/specialfile.h"
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
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome));
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

    // Failures that hold for root too, for whom permission bits are no obstacle. Whatever is not
    // a regular file in the store's place, or in the place of the lock file QSettings takes while
    // writing, is looked at without opening it (a FIFO would hang), and neither read nor replaced.
    void unwritableStore_data() {
        QTest::addColumn<QString>("blocker"); // in the config folder; empty: that folder is under a file
        QTest::addColumn<special::Kind>("kind");
        QTest::addColumn<QString>("reason");
        const QString file = QStringLiteral("Pagewick/Pagewick.conf");
        QTest::newRow("config folder under a regular file")
            << QString() << special::Kind::Folder << QStringLiteral("is not a folder");
        QTest::newRow("settings file is a folder")
            << file << special::Kind::Folder << QStringLiteral("is not a regular file but a folder");
        QTest::newRow("settings file is a FIFO")
            << file << special::Kind::Fifo << QStringLiteral("is not a regular file but a named pipe");
        QTest::newRow("settings file links to a device")
            << file << special::Kind::LinkToNullDevice
            << QStringLiteral("is not a regular file but a character device");
        QTest::newRow("settings file is a loop of links")
            << file << special::Kind::LinkLoop
            << QStringLiteral("is not a regular file but a loop of symbolic links");
        QTest::newRow("lock file is a FIFO")
            << file + QStringLiteral(".lock") << special::Kind::Fifo
            << QStringLiteral("Pagewick.conf.lock is not a regular file but a named pipe");
    }
    void unwritableStore() {
        QFETCH(QString, blocker);
        QFETCH(special::Kind, kind);
        QFETCH(QString, reason);
        QString was;
        if (blocker.isEmpty()) {
            QFile file(configHome);
            QVERIFY(file.open(QIODevice::WriteOnly));
            configHome += QStringLiteral("/config");
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome));
        } else {
            blocker = configHome + u'/' + blocker;
            QVERIFY(QDir().mkpath(QFileInfo(blocker).path()));
            QString why;
            if (!special::Make(kind, blocker, &why))
                QSKIP(qPrintable(why));
            was = special::Describe(blocker);
        }
        QString error;
        QVERIFY(!SaveFolderSetting(QStringLiteral("/some/folder"), &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("Pagewick.conf")), qPrintable(error));
        QVERIFY(!SaveFolderSetting(QStringLiteral("/some/folder"))); // no error text wanted
        QCOMPARE(LoadFolderSetting(), QString());
        if (!was.isEmpty())
            QCOMPARE(special::Describe(blocker), was);
        if (kind == special::Kind::LinkToNullDevice)
            QCOMPARE(special::Describe(blocker + QStringLiteral(".dev")),
                     QStringLiteral("character device 1:3"));
    }
};

QTEST_GUILESS_MAIN(FolderSettingTest)
#include "tst_foldersetting.moc"
