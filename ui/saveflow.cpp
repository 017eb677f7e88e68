#include "ui/saveflow.h"

#include "engine/index.h"
#include "engine/writefile.h"
#include "ui/apptitle.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace pagewick {

void SaveIndexPage(QWidget* parent, QFileDialog* cdl, const QString& folderText, const QString& indexText) {
    const QString title =
        QInputDialog::getText(parent, AppTitle(), QStringLiteral("Give the title of the file"));

    // The dialog opens in the folder of the index with the last file name only: a full path kept
    // from a save elsewhere would save there while the dialog shows this folder.
    const QString lastName = cdl->property(kLastFileNameProperty).toString();
    cdl->setDirectory(folderText);
    cdl->selectFile(lastName);
    cdl->setAcceptMode(QFileDialog::AcceptSave);
    cdl->setFileMode(QFileDialog::AnyFile);
    cdl->setDefaultSuffix(QStringLiteral("htm"));
    const QString document = BuildPageDocument(title, indexText);

    // A cancelled dialog ends the command, whatever file an earlier save chose.
    if (cdl->exec() != QDialog::Accepted)
        return;
    const QString fileName = cdl->selectedFiles().value(0);
    if (fileName.isEmpty())
        return;
    cdl->setProperty(kLastFileNameProperty, QFileInfo(fileName).fileName());

    // Only the write can fail. QSaveFile replaces an existing file only once the whole document
    // is on disk, so opening, writing and closing fail, and are retried, together.
    QString error;
    while (!WriteTextFile(fileName, document, &error)) {
        QMessageBox prompt(QMessageBox::Warning, AppTitle(), error,
                           QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, parent);
        prompt.setDefaultButton(QMessageBox::Retry);
        // Abort and Ignore both leave the command, as does a box closed otherwise.
        if (prompt.exec() != QMessageBox::Retry)
            return;
    }
}

} // namespace pagewick
