#include "ui/saveflow.h"

#include "engine/files/writefile.h"
#include "engine/output/index.h"
#include "ui/apptitle.h"
#include "ui/prompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace pagewick {

namespace {

// Lets the user pick a file in the dialog, opened in the folder with offeredName filled in, and
// writes the text to it. The name is a name only: a full path kept from a save elsewhere would
// save there while the dialog shows this folder. Returns the file chosen, written or not; empty
// when the dialog was cancelled.
QString SaveThroughDialog(QWidget* parent, QFileDialog* dialog, const QString& folderText,
                          const QString& offeredName, const QString& defaultSuffix, const QString& text) {
    dialog->setDirectory(folderText);
    dialog->selectFile(offeredName);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(defaultSuffix);

    // A cancelled dialog ends the command, whatever file an earlier save chose.
    if (dialog->exec() != QDialog::Accepted)
        return {};
    const QString fileName = dialog->selectedFiles().value(0);
    if (fileName.isEmpty())
        return {};

    // Only the write can fail. QSaveFile replaces an existing file only once the whole text is on
    // disk, so opening, writing and closing fail, and are retried, together.
    QString error;
    while (!WriteTextFile(fileName, text, &error)) {
        QMessageBox prompt(QMessageBox::Warning, AppTitle(), error,
                           QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, parent);
        prompt.setDefaultButton(QMessageBox::Retry);
        // The description names the file: "<b>draft</b>.htm" is shown as it is named, not in bold.
        prompt.setTextFormat(Qt::PlainText);
        // Abort and Ignore both leave the command, as does a box closed otherwise.
        if (prompt.exec() != QMessageBox::Retry)
            break;
    }
    return fileName;
}

} // namespace

void SaveIndexPage(QWidget* parent, QFileDialog* cdl, QString* lastFileName, const QString& folderText,
                   const QString& indexText) {
    SaveIndexPage(parent, cdl, lastFileName, folderText,
                  [&indexText](const QString& title) { return BuildPageDocument(title, indexText); });
}

void SaveIndexPage(QWidget* parent, QFileDialog* cdl, QString* lastFileName, const QString& folderText,
                   const std::function<QString(const QString& title)>& makePage) {
    // A cancelled prompt gives the empty title, and the command goes on.
    const QString title =
        AskText(parent, QCoreApplication::translate("pagewick::SaveFlow", "Give the title of the file"))
            .value_or(QString());
    const QString document = makePage(title);
    const QString saved =
        SaveThroughDialog(parent, cdl, folderText, *lastFileName, QStringLiteral("htm"), document);
    if (!saved.isEmpty())
        *lastFileName = QFileInfo(saved).fileName();
}

void SaveTextFile(QWidget* parent, QFileDialog* dialog, const QString& folderText, const QString& offeredName,
                  const QString& text) {
    // The text as it was built: byte for byte what pagewick-cli -o writes.
    SaveThroughDialog(parent, dialog, folderText, offeredName, QFileInfo(offeredName).suffix(), text);
}

} // namespace pagewick
