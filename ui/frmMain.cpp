#include "ui/frmMain.h"

namespace pagewick {

frmMain::frmMain(QWidget* parent) : QWidget(parent) { setWindowTitle(QStringLiteral("Pagewick")); }

} // namespace pagewick
