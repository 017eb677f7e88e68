#include "ui/prompts.h"

#include "ui/apptitle.h"

#include <QInputDialog>

namespace pagewick {

void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, AppTitle(), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void Warn(QWidget* parent, const QString& text) {
    ShowMessage(parent, QMessageBox::Warning, text);
}

std::optional<QString> AskText(QWidget* parent, const QString& prompt, const QString& answer) {
    bool ok = false;
    const QString given = QInputDialog::getText(parent, AppTitle(), prompt, QLineEdit::Normal, answer, &ok);
    if (!ok)
        return std::nullopt;
    return given;
}

} // namespace pagewick
