#include "ui/frmBrowser.h"

namespace pagewick {

frmBrowser::frmBrowser(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Pagewick Browser"));
}

void frmBrowser::showIndex(const QString&, const QString&) { show(); }

} // namespace pagewick
