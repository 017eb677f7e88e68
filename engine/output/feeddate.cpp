#include "engine/output/feeddate.h"

#include <optional>

namespace pagewick {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char kDayNames[][4] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr char kMonthNames[][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A publishable date (see PublishableDate) as the fields of a UTC calendar, worked out from the
// seconds since the epoch in one go: feeds write a date for every page.
struct UtcFields {
    int year, month, day, weekday; // weekday: 1 for Monday to 7 for Sunday
    int hour, minute, second;
};

// The date in milliseconds from the epoch when every format can write it: a year from 1900, where
// RFC 822 dates start, to 9999, in UTC (from 1 January 1900 up to 1 January 10000, 00:00 UTC).
std::optional<qint64> PublishableMs(const QDateTime& date) {
    constexpr qint64 kFirstMs = -2208988800000LL;
    constexpr qint64 kPastLastMs = 253402300800000LL;
    if (!date.isValid())
        return std::nullopt;
    const qint64 ms = date.toMSecsSinceEpoch();
    if (ms < kFirstMs || ms >= kPastLastMs)
        return std::nullopt;
    return ms;
}

std::optional<UtcFields> PublishableFields(const QDateTime& date) {
    const std::optional<qint64> publishable = PublishableMs(date);
    if (!publishable)
        return std::nullopt;
    const qint64 ms = *publishable;
    const qint64 seconds = ms / 1000 - (ms % 1000 < 0);
    const qint64 days = seconds / 86400 - (seconds % 86400 < 0);
    const int ofDay = int(seconds - days * 86400);
    // Days to the proleptic Gregorian calendar, in eras of 400 years from 1 March of year 0.
    const qint64 z = days + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 dayOfEra = z - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    UtcFields f{};
    f.day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    f.month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    f.year = int(yearOfEra + era * 400 + (f.month <= 2));
    f.weekday = int(((days % 7) + 7 + 3) % 7) + 1; // 1 January 1970 was a Thursday
    f.hour = ofDay / 3600;
    f.minute = ofDay / 60 % 60;
    f.second = ofDay % 60;
    return f;
}

// Western digits whatever the locale, zero-padded to the width.
char* PutDigits(char* at, int value, int width) {
    for (int k = width - 1; k >= 0; --k, value /= 10)
        at[k] = char('0' + value % 10);
    return at + width;
}

char* PutText(char* at, const char* text) {
    while (*text)
        *at++ = *text++;
    return at;
}

char* PutTimeOfDay(char* at, const UtcFields& f) {
    at = PutDigits(at, f.hour, 2);
    *at++ = ':';
    at = PutDigits(at, f.minute, 2);
    *at++ = ':';
    return PutDigits(at, f.second, 2);
}

} // namespace

QDateTime PublishableDate(const QDateTime& date) {
    // Every page date comes through here: the years are told from the milliseconds, without
    // working out a calendar.
    const std::optional<qint64> publishable = PublishableMs(date);
    if (!publishable)
        return {};
    const qint64 ms = *publishable;
    const qint64 second = ms - (ms % 1000 + 1000) % 1000;
    // A date that is publishable already (as the reader hands them on) is kept as it is.
    if (second == ms && date.timeSpec() == Qt::UTC)
        return date;
    return QDateTime::fromMSecsSinceEpoch(second, Qt::UTC);
}

QString Rfc822Date(const QDateTime& date) {
    const std::optional<UtcFields> f = PublishableFields(date);
    if (!f)
        return {};
    char text[32];
    char* at = PutText(text, kDayNames[f->weekday - 1]);
    at = PutText(at, ", ");
    at = PutDigits(at, f->day, 2);
    *at++ = ' ';
    at = PutText(at, kMonthNames[f->month - 1]);
    *at++ = ' ';
    at = PutDigits(at, f->year, 4);
    *at++ = ' ';
    at = PutTimeOfDay(at, *f);
    at = PutText(at, " +0000");
    return QString::fromLatin1(text, at - text);
}

QString Rfc3339Date(const QDateTime& date) {
    const std::optional<UtcFields> f = PublishableFields(date);
    if (!f)
        return {};
    char text[24];
    char* at = PutDigits(text, f->year, 4);
    *at++ = '-';
    at = PutDigits(at, f->month, 2);
    *at++ = '-';
    at = PutDigits(at, f->day, 2);
    *at++ = 'T';
    at = PutTimeOfDay(at, *f);
    *at++ = 'Z';
    return QString::fromLatin1(text, at - text);
}

QDateTime NewestPageDate(const QList<PageRecord>& pages) {
    QDateTime newest;
    for (const PageRecord& page : pages) {
        const QDateTime date = PublishableDate(page.date);
        if (date.isValid() && (!newest.isValid() || date > newest))
            newest = date;
    }
    return newest;
}

} // namespace pagewick
