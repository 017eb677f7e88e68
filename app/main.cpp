#include "ui/apptitle.h"
#include "ui/frmMain.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv) {
    // A save past the file-size limit (ulimit -f) fails with EFBIG and is reported like any other
    // failed write, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(pagewick::AppTitle());
    QApplication::setApplicationName(pagewick::AppTitle());
    QApplication::setApplicationVersion(QStringLiteral(PAGEWICK_VERSION));
    // The window reads the remembered folder and scans it while it is being made.
    pagewick::frmMain window;
    window.show();
    return app.exec();
}
