#include "ui/frmBrowse.h"

namespace pagewick {

frmBrowse::frmBrowse(QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Pagewick"));
}

void frmBrowse::setFolderText(const QString&) {}

} // namespace pagewick
