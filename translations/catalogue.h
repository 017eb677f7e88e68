#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace pagewick {

// Installs Pagewick's catalogue for the first of the locale's languages that has one (LANGUAGE
// is honoured through QLocale::system()), and Qt's own catalogue (the standard dialogs' buttons)
// for that same language, so a window never mixes two languages. Without a catalogue for any of
// them nothing is installed and the texts stay English. Returns the language installed
// ("de", "fr"), or an empty string for English.
QString InstallTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());

// The languages Pagewick carries a catalogue for, English (the source texts) not counted.
QStringList TranslatedLanguages();

} // namespace pagewick
