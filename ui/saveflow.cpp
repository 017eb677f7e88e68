#include "ui/saveflow.h"

#include "engine/index.h"
#include "engine/writefile.h"

#include <QFileDialog>
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

    for (std::size_t step = 0; step < std::size(steps);) {
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

} // namespace pagewick
