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

using namespace Qt::Literals::StringLiterals;

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
        site = tmp.filePath(u"site"_s);
        QVERIFY(QDir().mkpath(site + u"/alpha/deeper"_s));
        QVERIFY(QDir().mkpath(site + u"/beta"_s));
        // Deep enough, with names long enough, for the tree to scroll sideways.
        QString deep = tmp.filePath(u"deep"_s);
        for (int level = 0; level < 6; ++level)
            deep += u"/a-folder-name-long-enough-to-push-the-tree-sideways-%1"_s.arg(level);
        QVERIFY(QDir().mkpath(deep));
        deepFolder = deep;
        QFile page(site + u"/page.htm"_s);
        QVERIFY(page.open(QIODevice::WriteOnly));
    }

    void opensOnFolderText_data() {
        QTest::addColumn<QString>("folderText");
        QTest::addColumn<QString>("expected"); // "~" stands for the default place

        QTest::newRow("no folder text") << QString() << u"~"_s;
        QTest::newRow("sub-folder") << u"@/alpha"_s << u"@/alpha"_s;
        QTest::newRow("deeper, final separator") << u"@/alpha/deeper/"_s << u"@/alpha/deeper"_s;
        QTest::newRow("not normalised") << u"@/beta/../alpha//deeper"_s << u"@/alpha/deeper"_s;
        QTest::newRow("root") << u"/"_s << u"/"_s;
        QTest::newRow("missing folder") << u"@/gone"_s << u"~"_s;
        QTest::newRow("a file, not a folder") << u"@/page.htm"_s << u"~"_s;
        QTest::newRow("under a file") << u"@/page.htm/x"_s << u"~"_s;
        QTest::newRow("deep folder, long names") << u"<deep>"_s << u"<deep>"_s;
    }

    void opensOnFolderText() {
        QFETCH(QString, folderText);
        QFETCH(QString, expected);
        folderText.replace(u'@', site).replace(u"<deep>"_s, deepFolder);
        expected.replace(u'@', site).replace(u"<deep>"_s, deepFolder);
        if (expected == u"~"_s)
            expected = QDir::homePath();

        frmBrowse picker;
        picker.setFolderText(folderText);
        QCOMPARE(picker.currentFolder(), expected);

        // The drive list names the mount point that holds the open folder.
        auto* drives = picker.findChild<QComboBox*>(u"Drive1"_s);
        QVERIFY(drives);
        QCOMPARE(drives->itemData(0).toString(), u"/"_s);
        QStringList roots;
        for (int i = 0; i < drives->count(); ++i)
            roots.append(drives->itemData(i).toString());
        QCOMPARE(drives->currentData().toString(), frmBrowse::MountRootOf(expected, roots));

        // The tree's current item is that folder, and it is on view.
        auto* tree = picker.findChild<QTreeView*>(u"Dir1"_s);
        QVERIFY(tree);
        QVERIFY(tree->currentIndex().isValid());
        QVERIFY(tree->isExpanded(tree->currentIndex()));
        for (QModelIndex up = tree->currentIndex().parent(); up.isValid() && up != tree->rootIndex();
             up = up.parent())
            QVERIFY(tree->isExpanded(up));

        // Shown, and after the folders have been read in the background: the open folder selected
        // and in view, its name whole, and the tree scrolled sideways no further than that takes
        // (so that as much as fits of the folders above shows too). The caption stays.
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QScrollBar* sideways = tree->horizontalScrollBar();
        const auto settled = [tree, sideways] {
            const QRect row = tree->visualRect(tree->currentIndex());
            const int nameWidth = tree->sizeHintForIndex(tree->currentIndex()).width();
            const int width = tree->viewport()->width();
            // A name wider than the tree shows from its start.
            const bool nameInView = nameWidth > width ? row.left() == 0
                                                      : row.left() >= 0 && row.left() + nameWidth <= width &&
                                                            (sideways->value() == sideways->minimum() ||
                                                             row.left() + nameWidth == width);
            return row.isValid() && row.top() >= 0 && row.bottom() <= tree->viewport()->height() &&
                   nameInView;
        };
        QTRY_VERIFY(settled());
        QTest::qWait(100); // the background reading has nothing left to move
        QVERIFY(settled());
        QVERIFY(tree->selectionModel()->isSelected(tree->currentIndex()));
        QCOMPARE(picker.windowTitle(), u"Pagewick"_s);
        if (folderText == deepFolder) // its name is far to the right of the tree's left edge
            QVERIFY(sideways->value() > sideways->minimum());
    }

    void windowLayout() {
        frmBrowse picker;
        QCOMPARE(picker.windowTitle(), u"Pagewick"_s);
        QVERIFY(picker.isWindow());
        QVERIFY(picker.testAttribute(Qt::WA_DeleteOnClose));

        auto* drives = picker.findChild<QComboBox*>(u"Drive1"_s);
        auto* tree = picker.findChild<QTreeView*>(u"Dir1"_s);
        auto* ok = picker.findChild<QPushButton*>(u"cmdOK"_s);
        auto* cancel = picker.findChild<QPushButton*>(u"cmdCancel"_s);
        QVERIFY(drives && tree && ok && cancel);
        QCOMPARE(ok->text(), u"OK"_s);
        QCOMPARE(cancel->text(), u"Cancel"_s);
        QCOMPARE(drives->toolTip(), u"Available disks"_s);
        QCOMPARE(tree->toolTip(), u"Available folders"_s);
        QCOMPARE(ok->toolTip(), u"Confirm the selected folder"_s);
        QCOMPARE(cancel->toolTip(), u"Cancel the selection of a folder"_s);
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

        QTest::newRow("root, click") << u"/"_s << u"click"_s << u"/"_s;
        QTest::newRow("sub-folder, click") << u"@/alpha/"_s << u"click"_s << u"@/alpha"_s;
        QTest::newRow("root, enter") << u"/"_s << u"enter on drives"_s << u"/"_s;
        QTest::newRow("sub-folder, enter in tree") << u"@/beta"_s << u"enter on tree"_s << u"@/beta"_s;
        QTest::newRow("keypad enter") << u"@/alpha/deeper"_s << u"keypad enter"_s << u"@/alpha/deeper"_s;
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

        if (press == u"click"_s)
            QTest::mouseClick(picker->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
        else if (press == u"enter on drives"_s)
            QTest::keyClick(picker->findChild<QComboBox*>(u"Drive1"_s), Qt::Key_Return);
        else if (press == u"enter on tree"_s)
            QTest::keyClick(picker->findChild<QTreeView*>(u"Dir1"_s), Qt::Key_Return);
        else if (press == u"keypad enter"_s)
            QTest::keyClick(picker->findChild<QComboBox*>(u"Drive1"_s), Qt::Key_Enter, Qt::KeypadModifier);
        else
            QFAIL(qPrintable(u"no such press: "_s + press));

        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), expected);
        QVERIFY(deletedAfterEvents(picker));
    }

    void okAfterTheUserMovesInTheTree() {
        QPointer<frmBrowse> picker = new frmBrowse;
        QSignalSpy chosen(picker.data(), &frmBrowse::folderChosen);
        picker->setFolderText(site);
        picker->show();
        auto* tree = picker->findChild<QTreeView*>(u"Dir1"_s);
        // The folder's contents are read in the background; wait for its two sub-folders.
        QTRY_COMPARE(tree->model()->rowCount(tree->currentIndex()), 2);
        // The user types the start of a name to go to that folder.
        QTest::keyClicks(tree, u"be"_s);
        QCOMPARE(picker->currentFolder(), site + u"/beta"_s);
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), site + u"/beta"_s);
    }

    void cancelClosesWithoutChoosing_data() {
        QTest::addColumn<QString>("press");
        QTest::newRow("click") << u"click"_s;
        QTest::newRow("escape on drives") << u"escape on drives"_s;
        QTest::newRow("escape on tree") << u"escape on tree"_s;
        QTest::newRow("enter on focused Cancel") << u"enter on cancel"_s;
    }

    void cancelClosesWithoutChoosing() {
        QFETCH(QString, press);
        QPointer<frmBrowse> picker = new frmBrowse;
        QSignalSpy chosen(picker.data(), &frmBrowse::folderChosen);
        picker->setFolderText(site);
        picker->show();
        auto* cancel = picker->findChild<QPushButton*>(u"cmdCancel"_s);

        if (press == u"click"_s)
            QTest::mouseClick(cancel, Qt::LeftButton);
        else if (press == u"escape on drives"_s)
            QTest::keyClick(picker->findChild<QComboBox*>(u"Drive1"_s), Qt::Key_Escape);
        else if (press == u"escape on tree"_s)
            QTest::keyClick(picker->findChild<QTreeView*>(u"Dir1"_s), Qt::Key_Escape);
        else if (press == u"enter on cancel"_s)
            QTest::keyClick(cancel, Qt::Key_Return);
        else
            QFAIL(qPrintable(u"no such press: "_s + press));

        QCOMPARE(chosen.count(), 0);
        QVERIFY(deletedAfterEvents(picker));
    }

    void driveChangeMovesTheTree() {
        // A second "drive" stands in for another mounted file system.
        const QString drive = site + u"/alpha"_s;
        frmBrowse picker;
        picker.setDrives({u"/"_s, drive});
        auto* drives = picker.findChild<QComboBox*>(u"Drive1"_s);
        auto* tree = picker.findChild<QTreeView*>(u"Dir1"_s);

        // Opening on a folder of that drive selects the drive without moving to its root.
        picker.setFolderText(drive + u"/deeper"_s);
        QCOMPARE(drives->currentIndex(), 1);
        QCOMPARE(picker.currentFolder(), drive + u"/deeper"_s);
        // The tree shows that drive alone, its root as the one top item.
        QCOMPARE(tree->model()->rowCount(tree->rootIndex()), 1);
        QCOMPARE(tree->model()->index(0, 0, tree->rootIndex()).data().toString(), u"alpha"_s);

        drives->setCurrentIndex(0);
        QCOMPARE(picker.currentFolder(), u"/"_s);
        drives->setCurrentIndex(1);
        QCOMPARE(picker.currentFolder(), drive);

        // A folder outside every listed drive but "/" goes back to "/".
        picker.setFolderText(site + u"/beta"_s);
        QCOMPARE(drives->currentIndex(), 0);
        QCOMPARE(picker.currentFolder(), site + u"/beta"_s);
    }

    void mountRootOf_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("roots");
        QTest::addColumn<QString>("expected");

        const QStringList roots{u"/"_s, u"/mnt"_s, u"/mnt/usb"_s, u"/work"_s};
        QTest::newRow("root") << u"/"_s << roots << u"/"_s;
        QTest::newRow("plain folder") << u"/home/me"_s << roots << u"/"_s;
        QTest::newRow("mount point itself") << u"/work"_s << roots << u"/work"_s;
        QTest::newRow("inside a mount") << u"/work/site"_s << roots << u"/work"_s;
        QTest::newRow("longest match wins") << u"/mnt/usb/pages"_s << roots << u"/mnt/usb"_s;
        QTest::newRow("name prefix is no match") << u"/workshop/site"_s << roots << u"/"_s;
        QTest::newRow("sibling of a nested mount") << u"/mnt/usb2"_s << roots << u"/mnt"_s;
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
