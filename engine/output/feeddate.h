#pragma once

#include "engine/reading/pagereader.h"

#include <QDateTime>
#include <QList>
#include <QString>

// Dates as feeds and sitemaps write them.

namespace pagewick {

// The date as the date formats of feeds write it, in UTC: "Tue, 08 Dec 2026 11:04:51 +0000"
// (English names whatever the locale) and "2026-12-08T11:04:51Z". Fractions of a second are cut.
QString Rfc822Date(const QDateTime& date);
QString Rfc3339Date(const QDateTime& date);

// The date, in UTC and to the second, when every format above can write it (a year from 1900,
// where RFC 822 dates start, to 9999), else an invalid date. The page reader holds every page date
// to it, so a date no output can write is unknown alike in every output and in the date order.
QDateTime PublishableDate(const QDateTime& date);

// The newest publishable date of the pages; invalid when none has one.
QDateTime NewestPageDate(const QList<PageRecord>& pages);

} // namespace pagewick
