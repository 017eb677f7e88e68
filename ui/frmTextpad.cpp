#include "ui/frmTextpad.h"

#include "ui/controlname.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

namespace pagewick {

frmTextpad::frmTextpad(QWidget* parent)
    : PreviewWindow("frmTextpad", tr("Pagewick Scratchpad"), QSize(70, 350), parent),
      txtDisplay(Named(new QPlainTextEdit(this), "txtDisplay")) {
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
