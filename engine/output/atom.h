#pragma once

#include "engine/output/feed.h"

#include <QList>
#include <QString>

#include <functional>

namespace pagewick {

// An Atom feed of the pages the options select, in their order; its id and self link are
// options.atomUrl, which FeedAddressProblem requires, as it requires a web address for the site.
QString BuildAtomText(const FeedRequest& request);

// The same Atom feed handed to sink piece by piece.
void StreamAtomText(const FeedRequest& request, const std::function<void(const QString&)>& sink);

// The formatter the Atom builders end in: from read pages, as given, to text, opening no file (the
// request's page names are not looked at).
QString FormatAtomText(const QList<PageRecord>& pages, const FeedRequest& request);

} // namespace pagewick
