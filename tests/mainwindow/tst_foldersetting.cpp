#include "feedsettings.h"
#include "settings/feedsetting.h"
#include "settings/foldersetting.h"
#include "settings/pagesetting.h"
#include "specialfile.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

using namespace pagewick;

Q_DECLARE_METATYPE(FeedSettings)
Q_DECLARE_METATYPE(PageSettings)

namespace {

FeedSettings Settings(bool guid, const QString& feedUrl, bool dates, bool meta, const QString& atomUrl,
                      PageOrder order, int limit, const QStringList& excludes) {
    FeedSettings s;
    s.options.guid = guid;
    s.options.rssUrl = feedUrl;
    s.options.dates = dates;
    s.options.description = meta ? FeedDescription::Meta : FeedDescription::Title;
    s.options.atomUrl = atomUrl;
    s.options.selection = {order, excludes, limit};
    return s;
}

} // namespace

class FolderSettingTest : public QObject {
    Q_OBJECT
    QTemporaryDir scratch;
    QString configHome;
    int runs = 0;

    QString storeFile() const { return configHome + u"/Pagewick/Pagewick.conf"_s; }

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
        QTest::newRow("plain") << u"/home/ann/site"_s;
        QTest::newRow("trailing separator kept") << u"/home/ann/site/"_s;
        QTest::newRow("not normalised") << u"/home//ann/./site/.."_s;
        QTest::newRow("backslashes") << u"C:\\Web\\site\\"_s;
        QTest::newRow("characters the store escapes") << u" /a;b=c#d,\"e\" [f] %g "_s;
        QTest::newRow("non-ASCII") << u"/srv/Cafés/日本語"_s;
    }
    void roundTrip() {
        QFETCH(QString, folder);
        QString error;
        QVERIFY2(SaveFolderSetting(folder, &error), qPrintable(error));
        QCOMPARE(LoadFolderSetting(), folder);
        // Kept under group "Settings", key "Map", in the store of organisation and application "Pagewick".
        QSettings raw(storeFile(), QSettings::IniFormat);
        QCOMPARE(raw.childGroups(), QStringList{u"Settings"_s});
        QCOMPARE(raw.value(u"Settings/Map"_s).toString(), folder);
    }

    // Where the store is made: under $XDG_CONFIG_HOME when that is an absolute path, else under
    // ~/.config; a relative one is ignored, never taken from the folder the program started in.
    void storeLocation_data() {
        QTest::addColumn<QByteArray>("xdgConfigHome"); // "@" stands for the test's own folder
        QTest::addColumn<QString>("expected");         // under the home folder, or under "@"
        QTest::newRow("absolute") << QByteArray("@/xdg") << u"@/xdg/Pagewick/Pagewick.conf"_s;
        QTest::newRow("relative") << QByteArray("xdg") << u"home/.config/Pagewick/Pagewick.conf"_s;
        QTest::newRow("relative, dotted") << QByteArray("./xdg") << u"home/.config/Pagewick/Pagewick.conf"_s;
        QTest::newRow("empty") << QByteArray() << u"home/.config/Pagewick/Pagewick.conf"_s;
    }
    void storeLocation() {
        QFETCH(QByteArray, xdgConfigHome);
        QFETCH(QString, expected);
        const QString base = configHome; // a fresh folder of this case's own
        const QString home = base + u"/home"_s;
        const QString started = base + u"/started-here"_s;
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(started));
        const QByteArray savedHome = qgetenv("HOME");
        const QString savedCurrent = QDir::currentPath();
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", savedHome);
            QDir::setCurrent(savedCurrent);
        });
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", xdgConfigHome.replace('@', QFile::encodeName(base)));
        QVERIFY(QDir::setCurrent(started));
        QVERIFY(SaveFolderSetting(u"/srv/site"_s));
        QCOMPARE(LoadFolderSetting(), u"/srv/site"_s);
        QVERIFY(
            QFile::exists(expected.startsWith(u'@') ? expected.replace(u'@', base) : base + u'/' + expected));
        QCOMPARE(QDir(started).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList());
    }

    void laterSaveReplaces() {
        QVERIFY(SaveFolderSetting(u"/first"_s));
        QVERIFY(SaveFolderSetting(u"/second"_s));
        QCOMPARE(LoadFolderSetting(), u"/second"_s);
    }

    void recentFolders_data() {
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("expected");
        const auto numbered = [](int from, int to) {
            QStringList folders;
            for (int i = from; i <= to; ++i)
                folders << u"/f%1"_s.arg(i);
            return folders;
        };
        QTest::newRow("first") << QStringList{} << u"/a"_s << QStringList{u"/a"_s};
        QTest::newRow("newest first")
            << QStringList{u"/a"_s, u"/b"_s} << u"/c"_s << QStringList{u"/c"_s, u"/a"_s, u"/b"_s};
        QTest::newRow("again: moved up, not twice")
            << QStringList{u"/a"_s, u"/b"_s, u"/c"_s} << u"/b"_s << QStringList{u"/b"_s, u"/a"_s, u"/c"_s};
        QTest::newRow("same folder spelt otherwise")
            << QStringList{u"/a/b"_s, u"/c"_s} << u"/a//b/./"_s << QStringList{u"/a/b"_s, u"/c"_s};
        QTest::newRow("ten at most") << numbered(1, 10) << u"/new"_s
                                     << QStringList{u"/new"_s} + numbered(1, 9);
        QTest::newRow("ten at most, the oldest moved up")
            << numbered(1, 10) << u"/f10"_s << numbered(10, 10) + numbered(1, 9);
        QTest::newRow("nothing opened") << QStringList{u"/a"_s} << QString() << QStringList{u"/a"_s};
        QTest::newRow("letter case is a different folder")
            << QStringList{u"/Site"_s} << u"/site"_s << QStringList{u"/site"_s, u"/Site"_s};
    }
    void recentFolders() {
        QFETCH(QStringList, recent);
        QFETCH(QString, opened);
        QFETCH(QStringList, expected);
        QCOMPARE(WithRecentFolder(recent, opened), expected);
        // What is stored is read back as it was.
        QString error;
        QVERIFY2(SaveRecentFolders(expected, &error), qPrintable(error));
        QCOMPARE(LoadRecentFolders(), expected);
        QCOMPARE(LoadFolderSetting(), QString()); // kept beside the folder, not in its place
    }

    // A store edited by hand: what cannot be a list of folders is read as none, the rest cleaned.
    void recentFoldersEditedByHand_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one folder") << QByteArray("Recent=/srv/site") << QStringList{u"/srv/site"_s};
        QTest::newRow("twice, and empty")
            << QByteArray("Recent=/a, , /b/, /a") << QStringList{u"/a"_s, u"/b"_s};
        QTest::newRow("twelve") << QByteArray("Recent=/1,/2,/3,/4,/5,/6,/7,/8,/9,/10,/11,/12")
                                << QStringList{u"/1"_s, u"/2"_s, u"/3"_s, u"/4"_s, u"/5"_s,
                                               u"/6"_s, u"/7"_s, u"/8"_s, u"/9"_s, u"/10"_s};
        QTest::newRow("a rectangle") << QByteArray("Recent=@Rect(1 2 3 4)") << QStringList{};
    }
    void recentFoldersEditedByHand() {
        QFETCH(QByteArray, line);
        QFETCH(QStringList, expected);
        QVERIFY(QDir().mkpath(QFileInfo(storeFile()).path()));
        QFile store(storeFile());
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write("[Settings]\nMap=/srv/site\n" + line + '\n');
        store.close();
        QCOMPARE(LoadRecentFolders(), expected);
        QCOMPARE(LoadFolderSetting(), u"/srv/site"_s);
    }

    void subFolders() {
        QCOMPARE(LoadSubFoldersSetting(), false); // off until turned on
        QVERIFY(SaveFolderSetting(u"/srv/site"_s));
        QVERIFY(SaveSubFoldersSetting(true));
        QCOMPARE(LoadSubFoldersSetting(), true);
        QCOMPARE(LoadFolderSetting(), u"/srv/site"_s);
        QVERIFY(SaveSubFoldersSetting(false));
        QCOMPARE(LoadSubFoldersSetting(), false);
        QSettings raw(storeFile(), QSettings::IniFormat);
        raw.setValue(u"Settings/SubFolders"_s, u"yes, please"_s);
        raw.sync();
        QCOMPARE(LoadSubFoldersSetting(), false); // only "true" turns it on
    }

    void feedSettings_data() {
        QTest::addColumn<FeedSettings>("settings");
        QTest::newRow("defaults") << FeedSettings();
        QTest::newRow("every RSS option") << Settings(true, u"https://example.org/feed.xml"_s, true, true,
                                                      QString(), PageOrder::Name, 0, {});
        QTest::newRow("natural, limit, one exclude")
            << Settings(false, QString(), false, false, QString(), PageOrder::Natural, 20, {u"draft-*"_s});
        QTest::newRow("by date, excludes the store must quote")
            << Settings(false, QString(), false, false, u"https://example.org/atom.xml"_s, PageOrder::Date, 1,
                        {u"a,b*"_s, u" spaced "_s, u"[!x]?.htm"_s, u"caf\u00e9-*"_s, u"\"quoted\";=#"_s});
    }
    void feedSettings() {
        QFETCH(FeedSettings, settings);
        QCOMPARE(DescribeFeedSettings(LoadFeedSettings()),
                 DescribeFeedSettings(FeedSettings())); // nothing stored: the plain feed
        QVERIFY(SaveFolderSetting(u"/srv/site"_s));
        QString error;
        QVERIFY2(SaveFeedSettings(settings, &error), qPrintable(error));
        QCOMPARE(DescribeFeedSettings(LoadFeedSettings()), DescribeFeedSettings(settings));
        QCOMPARE(LoadFolderSetting(), u"/srv/site"_s);
        QSettings raw(storeFile(), QSettings::IniFormat);
        QCOMPARE(raw.childGroups(), (QStringList{u"Feed"_s, u"Settings"_s}));
    }

    // A store edited by hand never turns an option on by mistake: what cannot be read is the default.
    void feedSettingsEditedByHand_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<FeedSettings>("expected");
        QTest::newRow("unknown words")
            << QByteArray("Guid=yes\nDates=1\nDescription=summary\nOrder=size\n") << FeedSettings();
        QTest::newRow("limits that are not whole numbers above zero")
            << QByteArray("Limit=-5\n") << FeedSettings();
        QTest::newRow("limit with words") << QByteArray("Limit=20 pages\n") << FeedSettings();
        QTest::newRow("an exclude that is no wildcard is left out")
            << QByteArray("Excludes=draft-*, [abc, old-*\n")
            << Settings(false, QString(), false, false, QString(), PageOrder::Name, 0,
                        {u"draft-*"_s, u"old-*"_s});
        QTest::newRow("what the dialog writes, in other letter case")
            << QByteArray("Guid=TRUE\nDates=True\nDescription=meta\nOrder=date\nLimit=3\n")
            << Settings(true, QString(), true, true, QString(), PageOrder::Date, 3, {});
    }
    void feedSettingsEditedByHand() {
        QFETCH(QByteArray, lines);
        QFETCH(FeedSettings, expected);
        QVERIFY(QDir().mkpath(QFileInfo(storeFile()).path()));
        QFile store(storeFile());
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write("[Feed]\n" + lines);
        store.close();
        QCOMPARE(DescribeFeedSettings(LoadFeedSettings()), DescribeFeedSettings(expected));
    }

    // The page options as saved, and as a store edited by hand may hold them: what cannot be read
    // is the default, and a detail counts once.
    void pageSettings_data() {
        QTest::addColumn<QByteArray>("lines"); // the [Page] group written by hand; null: saved
        QTest::addColumn<PageSettings>("expected");
        QTest::newRow("saved: the defaults") << QByteArray() << PageSettings();
        QTest::newRow("saved: everything, details in their order")
            << QByteArray()
            << PageSettings{u"/srv/my site/t,1.html"_s,
                            u"/s.css?a=1;b=2"_s,
                            {IndexDetail::Size, IndexDetail::Description, IndexDetail::Date}};
        QTest::newRow("saved: one detail")
            << QByteArray() << PageSettings{QString(), QString(), {IndexDetail::Date}};
        QTest::newRow("by hand: unknown, repeated and misspelt details left out")
            << QByteArray("Details=size, colour, SIZE, date, size\n")
            << PageSettings{QString(), QString(), {IndexDetail::Size, IndexDetail::Date}};
        QTest::newRow("by hand: details as --details takes them")
            << QByteArray("Details=\"description,date\"\n")
            << PageSettings{QString(), QString(), {IndexDetail::Description, IndexDetail::Date}};
    }
    void pageSettings() {
        QFETCH(QByteArray, lines);
        QFETCH(PageSettings, expected);
        QCOMPARE(DescribePageSettings(LoadPageSettings()), DescribePageSettings(PageSettings()));
        if (lines.isNull()) {
            QString error;
            QVERIFY2(SavePageSettings(expected, &error), qPrintable(error));
        } else {
            QVERIFY(QDir().mkpath(QFileInfo(storeFile()).path()));
            QFile store(storeFile());
            QVERIFY(store.open(QIODevice::WriteOnly));
            store.write("[Page]\n" + lines);
        }
        QCOMPARE(DescribePageSettings(LoadPageSettings()), DescribePageSettings(expected));
    }

    // Failures that hold for root too, for whom permission bits are no obstacle. Whatever is not
    // a regular file in the store's place, or in the place of the lock file QSettings takes while
    // writing, is looked at without opening it (a FIFO would hang), and neither read nor replaced.
    void unwritableStore_data() {
        QTest::addColumn<QString>("blocker"); // in the config folder; empty: that folder is under a file
        QTest::addColumn<special::Kind>("kind");
        QTest::addColumn<QString>("reason");
        const QString file = u"Pagewick/Pagewick.conf"_s;
        QTest::newRow("config folder under a regular file")
            << QString() << special::Kind::Folder << u"is not a folder"_s;
        QTest::newRow("settings file is a folder")
            << file << special::Kind::Folder << u"is not a regular file but a folder"_s;
        QTest::newRow("settings file is a FIFO")
            << file << special::Kind::Fifo << u"is not a regular file but a named pipe"_s;
        QTest::newRow("settings file links to a device")
            << file << special::Kind::LinkToNullDevice << u"is not a regular file but a character device"_s;
        QTest::newRow("settings file is a loop of links")
            << file << special::Kind::LinkLoop << u"is not a regular file but a loop of symbolic links"_s;
        QTest::newRow("lock file is a FIFO")
            << file + u".lock"_s << special::Kind::Fifo
            << u"Pagewick.conf.lock is not a regular file but a named pipe"_s;
    }
    void unwritableStore() {
        QFETCH(QString, blocker);
        QFETCH(special::Kind, kind);
        QFETCH(QString, reason);
        QString was;
        if (blocker.isEmpty()) {
            QFile file(configHome);
            QVERIFY(file.open(QIODevice::WriteOnly));
            configHome += u"/config"_s;
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
        QVERIFY(!SaveFolderSetting(u"/some/folder"_s, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(error.contains(u"Pagewick.conf"_s), qPrintable(error));
        QVERIFY(!SaveFolderSetting(u"/some/folder"_s)); // no error text wanted
        QCOMPARE(LoadFolderSetting(), QString());
        // The settings kept beside the folder go the same way.
        error.clear();
        QVERIFY(!SaveRecentFolders({u"/some/folder"_s}, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(!SaveSubFoldersSetting(true));
        FeedSettings feed;
        feed.options.guid = true;
        QVERIFY(!SaveFeedSettings(feed, &error));
        QCOMPARE(LoadRecentFolders(), QStringList());
        QCOMPARE(LoadSubFoldersSetting(), false);
        QCOMPARE(LoadFeedSettings().options.guid, false);
        if (!was.isEmpty())
            QCOMPARE(special::Describe(blocker), was);
        if (kind == special::Kind::LinkToNullDevice)
            QCOMPARE(special::Describe(blocker + u".dev"_s), u"character device 1:3"_s);
    }
};

QTEST_GUILESS_MAIN(FolderSettingTest)
#include "tst_foldersetting.moc"
