#include "engine/files/filename.h"
#include "translations/catalogue.h"
#include "ui/apptitle.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QCommandLineParser>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    // A save past the file-size limit (ulimit -f) fails with EFBIG and is reported like any other
    // failed write, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv); // takes its own options (-platform, -style, ...) out of argv
    QApplication::setOrganizationName(pagewick::AppTitle());
    QApplication::setApplicationName(pagewick::AppTitle());
    QApplication::setApplicationVersion(QStringLiteral(PAGEWICK_VERSION));
    pagewick::InstallTranslations(app);

    // The folder comes as the bytes of its name, which need not be UTF-8: taken from argv as they
    // are, as pagewick-cli takes its arguments.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << pagewick::FileNameFromBytes(QByteArrayView(argv[i]));
    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::translate(
        "main", "Builds an HTML index, RSS and Atom feeds and a sitemap from a folder of web pages."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("folder"),
        QApplication::translate("main", "The folder to open (a page file opens its folder); without "
                                        "it, the folder of the last run."),
        QStringLiteral("[FOLDER]"));
    parser.process(arguments); // --help, --version and unknown options end here
    if (parser.positionalArguments().size() > 1) {
        std::fprintf(stderr, "pagewick: %s\n",
                     QApplication::translate("main", "give one folder at most").toLocal8Bit().constData());
        return 1;
    }

    // The window opens on the folder given, or reads the remembered folder, and scans it while it is
    // being made.
    pagewick::frmMain window(nullptr, parser.positionalArguments().value(0));
    window.show();
    return app.exec();
}
