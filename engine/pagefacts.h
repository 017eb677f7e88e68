#pragma once

#include <QByteArray>
#include <QString>

namespace pagewick {

// What a page's bytes say about it beyond its title, for checking a site before it is published:
// whether the page could be read at all, whether it has a title element, and whether its
// declared encoding holds. Reading these takes the whole page, so only the check asks for them
// (WantFindings, engine/pagereader.h).
struct PageFacts {
    QString readError;          // why the page could not be read; empty when it was read
    bool titleElement = false;  // an opening title tag is there, with text or without
    QByteArray bomEncoding;     // "UTF-8", "UTF-16LE" or "UTF-16BE" when a byte-order mark starts it
    QByteArray metaEncoding;    // the encoding a meta element declares (as the prescan reads it), or empty
    qint64 invalidUtf8At = -1;  // declared UTF-8 (by BOM or meta): where the first byte that breaks it is
    bool legacyButUtf8 = false; // declares another encoding, but holds non-ASCII bytes that are all UTF-8
};

} // namespace pagewick
