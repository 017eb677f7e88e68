#pragma once

#include <QPersistentModelIndex>
#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace pagewick {

class MountSubtreeModel;

// The folder picker: a drive list and a folder tree. OK hands the chosen folder out through
// folderChosen and closes; Cancel closes. The window deletes itself on close, so every opening
// after OK or Cancel starts anew.
class frmBrowse : public QWidget {
    Q_OBJECT
public:
    explicit frmBrowse(QWidget* parent = nullptr);

    // Points the tree and the drive list at the folder text when it names an existing folder;
    // otherwise leaves them at the default place, without a message.
    void setFolderText(const QString& folderText);

    // Replaces the drive list (mount points, "/" first). The picker fills it from the mounted
    // file systems itself; this is for callers that know better, and for tests.
    void setDrives(const QStringList& mountRoots);

    // The folder the tree has open (its current item), as OK would hand it out.
    QString currentFolder() const;

    // The mount points of the real, ready file systems, "/" always first.
    static QStringList MountedDriveRoots();

    // Of the given mount points, the one that contains path (the longest matching one).
    static QString MountRootOf(const QString& path, const QStringList& mountRoots);

Q_SIGNALS:
    void folderChosen(const QString& folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Drive1_Change();
    void cmdOK_Click();
    void cmdCancel_Click();

    void showDrive(const QString& mountRoot);
    bool openFolder(const QString& path);
    void showOpenFolder();
    void showOpenFolderName();

    QComboBox* Drive1;
    QTreeView* Dir1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QFileSystemModel* folders;
    MountSubtreeModel* driveView;
    bool userMovedTree = false;
};

} // namespace pagewick
