#pragma once

#include "engine/output/feed.h"

#include <QString>

namespace pagewick {

// What the Feed Options dialog sets, remembered between runs in group "Feed" of the settings store
// (see store.h), beside the folder setting. Nothing stored gives the defaults: the plain feed.
struct FeedSettings {
    FeedOptions options; // for the RSS code and the Atom feed alike, each with its own address
};

// The stored feed settings. A value that cannot be read as what it stands for (an unknown order, a
// limit that is not a whole number above zero, an exclude pattern that is not a wildcard) is read
// as its default, so a hand-edited store never turns an option on by mistake.
FeedSettings LoadFeedSettings();

// Stores the feed settings. Fails as SaveFolderSetting does.
bool SaveFeedSettings(const FeedSettings& settings, QString* error = nullptr);

} // namespace pagewick
