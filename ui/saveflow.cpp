#include "ui/saveflow.h"

#include "engine/index.h"
#include "engine/writefile.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <functional>
#include <iterator>

namespace pagewick {

namespace {

// How a step went: done (go on with the next), failed (ask the user), or the end of the command.
struct StepResult {
    enum Kind { Done, Failed, End } kind = Done;
    QString error;
};

StepResult Done() {
    return {};
}
StepResult End() {
    return {StepResult::End, {}};
}
StepResult Failed(const QString& error) {
    return {StepResult::Failed, error};
}

// Runs the steps in turn. A failing step asks the user: Retry runs it again, Ignore goes on with the
// next, and Abort (or closing the box) ends the command.
void RunSaveSteps(QWidget* parent, const std::function<StepResult()>* steps, std::size_t count) {
    for (std::size_t step = 0; step < count;) {
        const StepResult result = steps[step]();
        if (result.kind == StepResult::End)
            return;
        if (result.kind == StepResult::Done) {
            ++step;
            continue;
        }
        QMessageBox prompt(QMessageBox::Warning, QStringLiteral("Pagewick"), result.error,
                           QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, parent);
        prompt.setDefaultButton(QMessageBox::Retry);
        switch (prompt.exec()) {
        case QMessageBox::Retry:
            break;
        case QMessageBox::Ignore:
            ++step;
            break;
        default: // Abort, or the box closed otherwise: nothing more is done.
            return;
        }
    }
}

} // namespace

void SaveIndexPage(QWidget* parent, QFileDialog* cdl, const QString& folderText, const QString& indexText) {
    QString title;
    QString document;
    QString fileName;

    // The file is written in one step: QSaveFile replaces an existing file only once the whole
    // document is on disk, so opening, writing and closing fail (and are retried) together.
    const std::function<StepResult()> steps[] = {
        [&] {
            title = QInputDialog::getText(parent, QStringLiteral("Pagewick"),
                                          QStringLiteral("Give the title of the file"));
            return Done();
        },
        [&] {
            cdl->setDirectory(folderText);
            return Done();
        },
        [&] {
            cdl->setAcceptMode(QFileDialog::AcceptSave);
            cdl->setFileMode(QFileDialog::AnyFile);
            cdl->setDefaultSuffix(QStringLiteral("htm"));
            return Done();
        },
        [&] {
            document = BuildPageDocument(title, indexText);
            return Done();
        },
        [&] {
            // A cancelled dialog ends the command, whatever file an earlier save chose.
            if (cdl->exec() != QDialog::Accepted)
                return End();
            fileName = cdl->selectedFiles().value(0);
            return Done();
        },
        [&] { return fileName.isEmpty() ? End() : Done(); },
        [&] {
            QString error;
            if (!WriteTextFile(fileName, document + QStringLiteral("\r\n"), &error))
                return Failed(error);
            return End();
        },
    };

    RunSaveSteps(parent, steps, std::size(steps));
}

void SaveTextFile(QWidget* parent, QFileDialog* dialog, const QString& folderText, const QString& offeredName,
                  const QString& text) {
    QString fileName;
    const std::function<StepResult()> steps[] = {
        [&] {
            dialog->setDirectory(folderText);
            dialog->setAcceptMode(QFileDialog::AcceptSave);
            dialog->setFileMode(QFileDialog::AnyFile);
            dialog->setDefaultSuffix(QFileInfo(offeredName).suffix());
            dialog->selectFile(offeredName);
            return Done();
        },
        [&] {
            if (dialog->exec() != QDialog::Accepted)
                return End();
            fileName = dialog->selectedFiles().value(0);
            return fileName.isEmpty() ? End() : Done();
        },
        [&] {
            QString error;
            // The text as it was built, byte for byte what pagewick-cli -o writes.
            if (!WriteTextFile(fileName, text, &error))
                return Failed(error);
            return End();
        },
    };
    RunSaveSteps(parent, steps, std::size(steps));
}

} // namespace pagewick
