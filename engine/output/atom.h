#pragma once

#include "engine/output/feed.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace pagewick {

// An Atom feed of the listed pages (selected and ordered by the options); its id and self link are
// options.feedUrl, which FeedAddressProblem requires, as it requires a web address for the site.
QString BuildAtomText(const QString& folderText, const QStringList& pageNames, const QString& feedTitle,
                      const QString& siteUrl, const FeedOptions& options);

// The same Atom feed handed to sink piece by piece.
void StreamAtomText(const QString& folderText, const QStringList& pageNames, const QString& feedTitle,
                    const QString& siteUrl, const FeedOptions& options,
                    const std::function<void(const QString&)>& sink);

// The formatter the Atom builders end in: from read pages to text, opening no file.
QString FormatAtomText(const QString& folderText, const QList<PageRecord>& pages, const QString& feedTitle,
                       const QString& siteUrl, const FeedOptions& options);

} // namespace pagewick
