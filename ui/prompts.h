#pragma once

#include <QMessageBox>
#include <QString>
#include <optional>

class QWidget;

namespace pagewick {

// A modal box titled with the program's name, with OK. Its text is shown as it stands: paths,
// addresses and page titles may hold "<" and "&".
void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text);

// ShowMessage with the warning icon: what a command could not do, and why.
void Warn(QWidget* parent, const QString& text);

// A modal one-line prompt titled with the program's name, with answer filled in; the answer given,
// or nullopt when the prompt is cancelled.
std::optional<QString> AskText(QWidget* parent, const QString& prompt, const QString& answer = QString());

} // namespace pagewick
