#pragma once

#include <QByteArrayView>
#include <QString>

// What the fuzz targets hold the engine to, one input at a time. Shared with the test that replays
// the seed inputs and every input a fuzz run found a fault with. Each check returns what is wrong
// with the result, or an empty string when nothing is.
namespace pagewick::fuzz {

// Page decoding and title extraction on arbitrary bytes: DecodePage and FindTitle, and the same
// bytes as a page file through ReadPageTitle and ExtractTitle.
QString CheckPageTitle(QByteArrayView bytes);

// FlattenEntities against a plain reading of its table, and MakeXmlSafe giving XML text.
QString CheckFlatten(QByteArrayView bytes);

// BuildFeedText on a folder of one page whose name and title, and the two answers, come from the
// input: the feed always parses as XML, with one item that links the page.
QString CheckFeed(QByteArrayView bytes);

// PageTemplate::Parse on arbitrary bytes: a template it takes makes a page that holds the index,
// shows the title only escaped, and is read as the UTF-8 it is.
QString CheckPageTemplate(QByteArrayView bytes);

} // namespace pagewick::fuzz
