#pragma once

#include "engine/reading/pagereader.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <optional>

namespace pagewick {

// What an index entry may show after its link.
enum class IndexDetail { Date, Size, Description };

struct IndexDetails {
    QList<IndexDetail> shown; // in this order; empty: every entry exactly as without details
    // How dates and sizes read. Unset: dates in ISO 8601 (UTC) and numbers as in C, the same on every
    // machine; set: the user's date format (local time) and numbers.
    std::optional<QLocale> userLocale;
};

// What the reader must learn of each page for the details.
PageWants IndexDetailWants(const IndexDetails& details);

// "date,size,description": any of the words, each once, in any order. nullopt, with error naming
// the word at fault, for an unknown word, a repeated one or none at all.
std::optional<QList<IndexDetail>> ParseIndexDetails(const QString& words, QString* error = nullptr);

// The words ParseIndexDetails reads, for the same details.
QString IndexDetailWords(const QList<IndexDetail>& details);

// The page's details as they follow its link: for each, a space and an element (the date as
// <time datetime>, the size and the description as text in a <span> of that class). A detail the
// page lacks (no date, no description, a page that could not be opened) is left out.
void AppendIndexDetails(QString& out, const PageRecord& page, const IndexDetails& details);

// A number of bytes in human units ("512 bytes", "12.1 KiB", "3.4 MiB").
QString HumanSize(qint64 bytes, const QLocale& locale);

} // namespace pagewick
