#include "ui/frmTextpad.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

namespace pagewick {

frmTextpad::frmTextpad(QWidget* parent)
    : PreviewWindow(tr("Pagewick Scratchpad"), QSize(70, 350), parent), txtDisplay(new QPlainTextEdit(this)) {
    txtDisplay->setObjectName(QStringLiteral("txtDisplay"));
    txtDisplay->setAccessibleName(windowTitle());
    // Markup and feed code read best, and line up, in a fixed-width font; long lines wrap so the
    // box needs no horizontal scrolling.
    txtDisplay->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtDisplay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setControl(txtDisplay);
}

void frmTextpad::showText(const QString& text) {
    txtDisplay->setPlainText(text);
    bringForward();
}

} // namespace pagewick
