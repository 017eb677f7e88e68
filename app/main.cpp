#include "ui/apptitle.h"
#include "ui/frmMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(pagewick::AppTitle());
    QApplication::setApplicationName(pagewick::AppTitle());
    QApplication::setApplicationVersion(QStringLiteral(PAGEWICK_VERSION));
    // The window reads the remembered folder and scans it while it is being made.
    pagewick::frmMain window;
    window.show();
    return app.exec();
}
