#include "ui/frmBrowse.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using pagewick::frmBrowse;

class PickerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp;
    QString site; // tmp/site with sub-folders "alpha" and "beta", and a file "page.htm"
    QString deepFolder;

    // The picker closes itself on OK and Cancel and is deleted once the event loop gets to it.
    static bool deletedAfterEvents(QPointer<frmBrowse>& picker) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return picker.isNull();
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        site = tmp.filePath(QStringLiteral("site"));
        QVERIFY(QDir().mkpath(site + QStringLiteral("/alpha/deeper")));
        QVERIFY(QDir().mkpath(site + QStringLiteral("/beta")));
        // Deep enough, with names long enough, for the tree to scroll sideways.
        QString deep = tmp.filePath(QStringLiteral("deep"));
        for (int level = 0; level < 6; ++level)
            deep += QStringLiteral("/a-folder-name-long-enough-to-push-the-tree-sideways-%1").arg(level);
        QVERIFY(QDir().mkpath(deep));
        deepFolder = deep;
        QFile page(site + QStringLiteral("/page.htm"));
        QVERIFY(page.open(QIODevice::WriteOnly));
    }

    void opensOnFolderText_data() {
        QTest::addColumn<QString>("folderText");
        QTest::addColumn<QString>("expected"); // "~" stands for the default place

        QTest::newRow("no folder text") << QString() << QStringLiteral("~");
        QTest::newRow("sub-folder") << QStringLiteral("@/alpha") << QStringLiteral("@/alpha");
        QTest::newRow("deeper, final separator")
            << QStringLiteral("@/alpha/deeper/") << QStringLiteral("@/alpha/deeper");
        QTest::newRow("not normalised")
            << QStringLiteral("@/beta/../alpha//deeper") << QStringLiteral("@/alpha/deeper");
        QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
        QTest::newRow("missing folder") << QStringLiteral("@/gone") << QStringLiteral("~");
        QTest::newRow("a file, not a folder") << QStringLiteral("@/page.htm") << QStringLiteral("~");
        QTest::newRow("under a file") << QStringLiteral("@/page.htm/x") << QStringLiteral("~");
        QTest::newRow("deep folder, long names") << QStringLiteral("<deep>") << QStringLiteral("<deep>");
    }

    void opensOnFolderText() {
        QFETCH(QString, folderText);
        QFETCH(QString, expected);
        folderText.replace(u'@', site).replace(QStringLiteral("<deep>"), deepFolder);
        expected.replace(u'@', site).replace(QStringLiteral("<deep>"), deepFolder);
        if (expected == QStringLiteral("~"))
            expected = QDir::homePath();

        frmBrowse picker;
        picker.setFolderText(folderText);
        QCOMPARE(picker.currentFolder(), expected);

        // The drive list names the mount point that holds the open folder.
        auto* drives = picker.findChild<QComboBox*>(QStringLiteral("Drive1"));
        QVERIFY(drives);
        QCOMPARE(drives->itemData(0).toString(), QStringLiteral("/"));
        QStringList roots;
        for (int i = 0; i < drives->count(); ++i)
            roots.append(drives->itemData(i).toString());
        QCOMPARE(drives->currentData().toString(), frmBrowse::MountRootOf(expected, roots));

        // The tree's current item is that folder, and it is on view.
        auto* tree = picker.findChild<QTreeView*>(QStringLiteral("Dir1"));
        QVERIFY(tree);
        QVERIFY(tree->currentIndex().isValid());
        QVERIFY(tree->isExpanded(tree->currentIndex()));
        for (QModelIndex up = tree->currentIndex().parent(); up.isValid() && up != tree->rootIndex();
             up = up.parent())
            QVERIFY(tree->isExpanded(up));

        // Shown, and after the folders have been read in the background: scrolled to the left
        // edge, the open folder selected and in view.
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        const auto settled = [tree] {
            const QRect row = tree->visualRect(tree->currentIndex());
            return tree->horizontalScrollBar()->value() == tree->horizontalScrollBar()->minimum() &&
                   row.isValid() && row.top() >= 0 && row.bottom() <= tree->viewport()->height();
        };
        QTRY_VERIFY(settled());
        QTest::qWait(100); // the background reading has nothing left to move
        QVERIFY(settled());
        QVERIFY(tree->selectionModel()->isSelected(tree->currentIndex()));
    }

    void windowLayout() {
        frmBrowse picker;
        QCOMPARE(picker.windowTitle(), QStringLiteral("Pagewick"));
        QVERIFY(picker.isWindow());
        QVERIFY(picker.testAttribute(Qt::WA_DeleteOnClose));

        auto* drives = picker.findChild<QComboBox*>(QStringLiteral("Drive1"));
        auto* tree = picker.findChild<QTreeView*>(QStringLiteral("Dir1"));
        auto* ok = picker.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        auto* cancel = picker.findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        QVERIFY(drives && tree && ok && cancel);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(drives->toolTip(), QStringLiteral("Available disks"));
        QCOMPARE(tree->toolTip(), QStringLiteral("Available folders"));
        QCOMPARE(ok->toolTip(), QStringLiteral("Confirm the selected folder"));
        QCOMPARE(cancel->toolTip(), QStringLiteral("Cancel the selection of a folder"));
        // Screen readers announce each control by its caption, or its tooltip where it has none.
        for (QWidget* control : std::initializer_list<QWidget*>{drives, tree, ok, cancel}) {
            const auto* button = qobject_cast<QPushButton*>(control);
            QCOMPARE(control->accessibleName(), button ? button->text() : control->toolTip());
        }

        // Tab order: drives, folders, OK, Cancel; the drive list has the focus at opening.
        const auto nextTabStop = [](QWidget* widget) {
            do
                widget = widget->nextInFocusChain();
            while (!(widget->focusPolicy() & Qt::TabFocus));
            return widget;
        };
        QCOMPARE(nextTabStop(drives), tree);
        QCOMPARE(nextTabStop(tree), ok);
        QCOMPARE(nextTabStop(ok), cancel);
        QCOMPARE(nextTabStop(cancel), drives);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QCOMPARE(picker.focusWidget(), drives);

        // Only folder names: no size, type or date columns.
        for (int column = 1; column < tree->model()->columnCount(); ++column)
            QVERIFY(tree->isColumnHidden(column));
    }

    void okHandsOutTheOpenFolder_data() {
        QTest::addColumn<QString>("folderText");
        QTest::addColumn<QString>("press"); // "click", "enter on drives", "enter on tree", "keypad enter"
        QTest::addColumn<QString>("expected");

        QTest::newRow("root, click") << QStringLiteral("/") << QStringLiteral("click") << QStringLiteral("/");
        QTest::newRow("sub-folder, click")
            << QStringLiteral("@/alpha/") << QStringLiteral("click") << QStringLiteral("@/alpha");
        QTest::newRow("root, enter") << QStringLiteral("/") << QStringLiteral("enter on drives")
                                     << QStringLiteral("/");
        QTest::newRow("sub-folder, enter in tree")
            << QStringLiteral("@/beta") << QStringLiteral("enter on tree") << QStringLiteral("@/beta");
        QTest::newRow("keypad enter") << QStringLiteral("@/alpha/deeper") << QStringLiteral("keypad enter")
                                      << QStringLiteral("@/alpha/deeper");
    }

    void okHandsOutTheOpenFolder() {
        QFETCH(QString, folderText);
        QFETCH(QString, press);
        QFETCH(QString, expected);
        folderText.replace(u'@', site);
        expected.replace(u'@', site);

        QPointer<frmBrowse> picker = new frmBrowse;
        QSignalSpy chosen(picker.data(), &frmBrowse::folderChosen);
        picker->setFolderText(folderText);
        picker->show();

        if (press == QStringLiteral("click"))
            QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        else if (press == QStringLiteral("enter on drives"))
            QTest::keyClick(picker->findChild<QComboBox*>(QStringLiteral("Drive1")), Qt::Key_Return);
        else if (press == QStringLiteral("enter on tree"))
            QTest::keyClick(picker->findChild<QTreeView*>(QStringLiteral("Dir1")), Qt::Key_Return);
        else
            QTest::keyClick(picker->findChild<QComboBox*>(QStringLiteral("Drive1")), Qt::Key_Enter,
                            Qt::KeypadModifier);

        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), expected);
        QVERIFY(deletedAfterEvents(picker));
    }

    void okAfterTheUserMovesInTheTree() {
        QPointer<frmBrowse> picker = new frmBrowse;
        QSignalSpy chosen(picker.data(), &frmBrowse::folderChosen);
        picker->setFolderText(site);
        picker->show();
        auto* tree = picker->findChild<QTreeView*>(QStringLiteral("Dir1"));
        // The folder's contents are read in the background; wait for its two sub-folders.
        QTRY_COMPARE(tree->model()->rowCount(tree->currentIndex()), 2);
        // The user types the start of a name to go to that folder.
        QTest::keyClicks(tree, QStringLiteral("be"));
        QCOMPARE(picker->currentFolder(), site + QStringLiteral("/beta"));
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), site + QStringLiteral("/beta"));
    }

    void cancelClosesWithoutChoosing_data() {
        QTest::addColumn<QString>("press");
        QTest::newRow("click") << QStringLiteral("click");
        QTest::newRow("escape on drives") << QStringLiteral("escape on drives");
        QTest::newRow("escape on tree") << QStringLiteral("escape on tree");
        QTest::newRow("enter on focused Cancel") << QStringLiteral("enter on cancel");
    }

    void cancelClosesWithoutChoosing() {
        QFETCH(QString, press);
        QPointer<frmBrowse> picker = new frmBrowse;
        QSignalSpy chosen(picker.data(), &frmBrowse::folderChosen);
        picker->setFolderText(site);
        picker->show();
        auto* cancel = picker->findChild<QPushButton*>(QStringLiteral("cmdCancel"));

        if (press == QStringLiteral("click"))
            QTest::mouseClick(cancel, Qt::LeftButton);
        else if (press == QStringLiteral("escape on drives"))
            QTest::keyClick(picker->findChild<QComboBox*>(QStringLiteral("Drive1")), Qt::Key_Escape);
        else if (press == QStringLiteral("escape on tree"))
            QTest::keyClick(picker->findChild<QTreeView*>(QStringLiteral("Dir1")), Qt::Key_Escape);
        else
            QTest::keyClick(cancel, Qt::Key_Return);

        QCOMPARE(chosen.count(), 0);
        QVERIFY(deletedAfterEvents(picker));
    }

    void driveChangeMovesTheTree() {
        // A second "drive" stands in for another mounted file system.
        const QString drive = site + QStringLiteral("/alpha");
        frmBrowse picker;
        picker.setDrives({QStringLiteral("/"), drive});
        auto* drives = picker.findChild<QComboBox*>(QStringLiteral("Drive1"));
        auto* tree = picker.findChild<QTreeView*>(QStringLiteral("Dir1"));

        // Opening on a folder of that drive selects the drive without moving to its root.
        picker.setFolderText(drive + QStringLiteral("/deeper"));
        QCOMPARE(drives->currentIndex(), 1);
        QCOMPARE(picker.currentFolder(), drive + QStringLiteral("/deeper"));
        // The tree shows that drive alone, its root as the one top item.
        QCOMPARE(tree->model()->rowCount(tree->rootIndex()), 1);
        QCOMPARE(tree->model()->index(0, 0, tree->rootIndex()).data().toString(), QStringLiteral("alpha"));

        drives->setCurrentIndex(0);
        QCOMPARE(picker.currentFolder(), QStringLiteral("/"));
        drives->setCurrentIndex(1);
        QCOMPARE(picker.currentFolder(), drive);

        // A folder outside every listed drive but "/" goes back to "/".
        picker.setFolderText(site + QStringLiteral("/beta"));
        QCOMPARE(drives->currentIndex(), 0);
        QCOMPARE(picker.currentFolder(), site + QStringLiteral("/beta"));
    }

    void mountRootOf_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("roots");
        QTest::addColumn<QString>("expected");

        const QStringList roots{QStringLiteral("/"), QStringLiteral("/mnt"), QStringLiteral("/mnt/usb"),
                                QStringLiteral("/work")};
        QTest::newRow("root") << QStringLiteral("/") << roots << QStringLiteral("/");
        QTest::newRow("plain folder") << QStringLiteral("/home/me") << roots << QStringLiteral("/");
        QTest::newRow("mount point itself") << QStringLiteral("/work") << roots << QStringLiteral("/work");
        QTest::newRow("inside a mount") << QStringLiteral("/work/site") << roots << QStringLiteral("/work");
        QTest::newRow("longest match wins")
            << QStringLiteral("/mnt/usb/pages") << roots << QStringLiteral("/mnt/usb");
        QTest::newRow("name prefix is no match")
            << QStringLiteral("/workshop/site") << roots << QStringLiteral("/");
        QTest::newRow("sibling of a nested mount")
            << QStringLiteral("/mnt/usb2") << roots << QStringLiteral("/mnt");
    }

    void mountRootOf() {
        QFETCH(QString, path);
        QFETCH(QStringList, roots);
        QFETCH(QString, expected);
        QCOMPARE(frmBrowse::MountRootOf(path, roots), expected);
    }
};

QTEST_MAIN(PickerTest)
#include "tst_picker.moc"
