#pragma once

// The feed and page settings as one line of text, so that tests can compare two and show where they differ.

#include "settings/feedsetting.h"

#include <QString>

using namespace Qt::Literals::StringLiterals;

inline QString DescribeFeedSettings(const pagewick::FeedSettings& s) {
    using pagewick::FeedDescription;
    const pagewick::FeedOptions& o = s.options;
    return u"guid=%1 feed=%2 dates=%3 meta=%4 atom=%5 order=%6 limit=%7 excludes=[%8]"_s.arg(o.guid)
        .arg(o.rssUrl)
        .arg(o.dates)
        .arg(o.description == FeedDescription::Meta)
        .arg(o.atomUrl)
        .arg(int(o.selection.order))
        .arg(o.selection.limit)
        .arg(o.selection.excludes.join(u'|'));
}

#include "settings/pagesetting.h"

inline QString DescribePageSettings(const pagewick::PageSettings& s) {
    return u"template=%1 stylesheet=%2 details=%3"_s.arg(s.templateFile, s.stylesheetUrl,
                                                         pagewick::IndexDetailWords(s.details));
}
