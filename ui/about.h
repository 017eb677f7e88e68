#pragma once

#include <QIcon>
#include <QString>

class QWidget;

namespace pagewick {

// What "About Pagewick" says, as rich text: the version, the licence and the libraries Pagewick is
// built on, with the Qt it runs on.
QString AboutText();

// "About Pagewick": AboutText in a message box showing the program's icon; returns once closed.
void ShowAboutBox(QWidget* parent, const QIcon& icon);

} // namespace pagewick
