#include "ui/frmTextpad.h"

namespace pagewick {

frmTextpad::frmTextpad(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Pagewick Scratchpad"));
}

void frmTextpad::showText(const QString&) { show(); }

} // namespace pagewick
