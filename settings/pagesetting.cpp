#include "settings/pagesetting.h"

#include "settings/store.h"

#include <QSettings>

namespace pagewick {

namespace {

const QString kGroup = QStringLiteral("Page");

} // namespace

PageSettings LoadPageSettings() {
    PageSettings settings;
    ReadSettingsStore([&settings](const QSettings& store) {
        const auto value = [&store](const char* key) {
            return store.value(kGroup + u'/' + QLatin1String(key));
        };
        settings.templateFile = value("Template").toString();
        settings.stylesheetUrl = value("Stylesheet").toString();
        // Stored as the words of --details; the known ones are kept, each once.
        for (const QString& word : StoredTextList(value("Details"))) {
            const std::optional<QList<IndexDetail>> details = ParseIndexDetails(word.trimmed());
            for (const IndexDetail detail : details.value_or(QList<IndexDetail>())) {
                if (!settings.details.contains(detail))
                    settings.details.append(detail);
            }
        }
    });
    return settings;
}

bool SavePageSettings(const PageSettings& settings, QString* error) {
    return WriteSettingsStore(
        [&settings](QSettings& store) {
            store.beginGroup(kGroup);
            store.setValue(QStringLiteral("Template"), settings.templateFile);
            store.setValue(QStringLiteral("Stylesheet"), settings.stylesheetUrl);
            QStringList words;
            for (const IndexDetail detail : settings.details)
                words.append(IndexDetailWords({detail}));
            store.setValue(QStringLiteral("Details"), words);
            store.endGroup();
        },
        error);
}

} // namespace pagewick
