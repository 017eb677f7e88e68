#pragma once

#include <QWidget>

namespace pagewick {

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

Q_SIGNALS:
    void folderChosen(const QString& folder);
};

} // namespace pagewick
