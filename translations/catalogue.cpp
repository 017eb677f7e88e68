#include "translations/catalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace pagewick {

namespace {
// The compiled catalogues are built into the programs, so an installed program and one run from
// the build folder speak the same languages.
const QString kCatalogueFolder = QStringLiteral(":/i18n");
} // namespace

QString InstallTranslations(QCoreApplication& app, const QLocale& locale) {
    auto* ours = new QTranslator(&app);
    if (!ours->load(locale, QStringLiteral("pagewick"), QStringLiteral("_"), kCatalogueFolder)) {
        delete ours;
        return QString();
    }
    app.installTranslator(ours);
    const QLocale chosen(ours->language());
    // Qt's catalogue may be missing (Debian's qt6-translations-l10n is only recommended): then the
    // standard buttons say OK and Cancel, and everything else is still translated.
    auto* qt = new QTranslator(&app);
    if (qt->load(chosen, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qt);
    else
        delete qt;
    return QLocale::languageToCode(chosen.language());
}

QStringList TranslatedLanguages() {
    QStringList languages;
    const QStringList files =
        QDir(kCatalogueFolder).entryList({QStringLiteral("pagewick_*.qm")}, QDir::Files);
    for (const QString& file : files)
        languages << file.mid(9, file.size() - 9 - 3);
    return languages;
}

} // namespace pagewick
