#pragma once

#include <QByteArray>
#include <QString>

namespace pagewick {

// What a page's bytes say about it beyond its title, for checking a site before it is published:
// whether the page could be read at all, whether it has a title element, and whether its
// declared encoding holds. The page reader notes the title element and the declarations as it
// reads the title; whether the bytes hold to them takes the whole page, so only the check asks
// for these (WantFindings, engine/reading/pagereader.h).
struct PageFacts {
    QString readError;           // why the page could not be read; empty when it was read
    bool titleElement = false;   // the reader met the title element, with text after it or not
    bool titleUnclosed = false;  // the title element runs to the end of the page without its end tag
    QByteArray bomEncoding;      // "UTF-8", "UTF-16LE" or "UTF-16BE" when a byte-order mark starts it
    QByteArray declaredEncoding; // what the markup declares (an XML declaration, a meta element in
                                 // the head or later before the title), beneath a byte-order mark
                                 // too; empty when nothing is, or the page is UTF-16
    qint64 invalidUtf8At = -1;   // declared UTF-8 (by BOM or markup): where the first byte that breaks it is
    bool legacyButUtf8 = false;  // declares another encoding, but holds non-ASCII bytes that are all UTF-8
};

} // namespace pagewick
