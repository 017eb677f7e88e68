#include "ui/frmMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pagewick"));
    QApplication::setApplicationName(QStringLiteral("Pagewick"));
    pagewick::frmMain window;
    window.show();
    return app.exec();
}
