#include "settings/feedsetting.h"

#include "settings/store.h"

#include <QSettings>

namespace pagewick {

namespace {

// The words the store keeps for the choices, so that it reads well and survives a reordering.
struct OrderWord {
    PageOrder order;
    const char* word;
};
constexpr OrderWord kOrderWords[] = {
    {PageOrder::Name, "name"}, {PageOrder::Natural, "natural"}, {PageOrder::Date, "date"}};

QString OrderToWord(PageOrder order) {
    for (const OrderWord& entry : kOrderWords) {
        if (entry.order == order)
            return QLatin1String(entry.word);
    }
    return QLatin1String(kOrderWords[0].word);
}

PageOrder OrderFromWord(const QString& word) {
    for (const OrderWord& entry : kOrderWords) {
        if (word == QLatin1String(entry.word))
            return entry.order;
    }
    return PageOrder::Name;
}

const QString kGroup = QStringLiteral("Feed");

} // namespace

FeedSettings LoadFeedSettings() {
    FeedSettings settings;
    ReadSettingsStore([&settings](const QSettings& store) {
        const auto value = [&store](const char* key) {
            return store.value(kGroup + u'/' + QLatin1String(key));
        };
        FeedOptions& options = settings.options;
        options.guid = StoredYes(value("Guid"));
        options.rssUrl = value("FeedUrl").toString();
        options.dates = StoredYes(value("Dates"));
        options.description = value("Description").toString() == QLatin1String("meta")
                                  ? FeedDescription::Meta
                                  : FeedDescription::Title;
        options.selection.order = OrderFromWord(value("Order").toString());
        bool isNumber = false;
        const int limit = value("Limit").toString().toInt(&isNumber);
        options.selection.limit = isNumber && limit > 0 ? limit : 0;
        for (const QString& pattern : StoredTextList(value("Excludes"))) {
            if (IsValidExcludePattern(pattern))
                options.selection.excludes.append(pattern);
        }
        options.atomUrl = value("AtomFeedUrl").toString();
    });
    return settings;
}

bool SaveFeedSettings(const FeedSettings& settings, QString* error) {
    return WriteSettingsStore(
        [&settings](QSettings& store) {
            const FeedOptions& options = settings.options;
            store.beginGroup(kGroup);
            store.setValue(QStringLiteral("Guid"), options.guid);
            store.setValue(QStringLiteral("FeedUrl"), options.rssUrl);
            store.setValue(QStringLiteral("Dates"), options.dates);
            store.setValue(QStringLiteral("Description"), options.description == FeedDescription::Meta
                                                              ? QStringLiteral("meta")
                                                              : QStringLiteral("title"));
            store.setValue(QStringLiteral("Order"), OrderToWord(options.selection.order));
            store.setValue(QStringLiteral("Limit"), qMax(options.selection.limit, 0));
            store.setValue(QStringLiteral("Excludes"), options.selection.excludes);
            store.setValue(QStringLiteral("AtomFeedUrl"), options.atomUrl);
            store.endGroup();
        },
        error);
}

} // namespace pagewick
