#include "ui/saveflow.h"

#include "engine/files/writefile.h"
#include "engine/output/index.h"
#include "ui/apptitle.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace pagewick {

namespace {

// Lets the user pick a file in the dialog, opened in the folder with offeredName filled in, and
// writes the text to it. The name is a name only: a full path kept from a save elsewhere would
// save there while the dialog shows this folder.
void SaveThroughDialog(QWidget* parent, QFileDialog* dialog, const QString& folderText,
                       const QString& offeredName, const QString& defaultSuffix, const QString& text) {
    dialog->setDirectory(folderText);
    dialog->selectFile(offeredName);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(defaultSuffix);

    // A cancelled dialog ends the command, whatever file an earlier save chose.
    if (dialog->exec() != QDialog::Accepted)
        return;
    const QString fileName = dialog->selectedFiles().value(0);
    if (fileName.isEmpty())
        return;
    dialog->setProperty(kLastFileNameProperty, QFileInfo(fileName).fileName());

    // Only the write can fail. QSaveFile replaces an existing file only once the whole text is on
    // disk, so opening, writing and closing fail, and are retried, together.
    QString error;
    while (!WriteTextFile(fileName, text, &error)) {
        QMessageBox prompt(QMessageBox::Warning, AppTitle(), error,
                           QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, parent);
        prompt.setDefaultButton(QMessageBox::Retry);
        // Abort and Ignore both leave the command, as does a box closed otherwise.
        if (prompt.exec() != QMessageBox::Retry)
            return;
    }
}

} // namespace

void SaveIndexPage(QWidget* parent, QFileDialog* cdl, const QString& folderText, const QString& indexText) {
    SaveIndexPage(parent, cdl, folderText,
                  [&indexText](const QString& title) { return BuildPageDocument(title, indexText); });
}

void SaveIndexPage(QWidget* parent, QFileDialog* cdl, const QString& folderText,
                   const std::function<QString(const QString& title)>& makePage) {
    const QString title = QInputDialog::getText(
        parent, AppTitle(), QCoreApplication::translate("pagewick::SaveFlow", "Give the title of the file"));
    const QString document = makePage(title);
    SaveThroughDialog(parent, cdl, folderText, cdl->property(kLastFileNameProperty).toString(),
                      QStringLiteral("htm"), document);
}

void SaveTextFile(QWidget* parent, QFileDialog* dialog, const QString& folderText, const QString& offeredName,
                  const QString& text) {
    // The text as it was built: byte for byte what pagewick-cli -o writes.
    SaveThroughDialog(parent, dialog, folderText, offeredName, QFileInfo(offeredName).suffix(), text);
}

} // namespace pagewick
