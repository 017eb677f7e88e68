#include "engine/output/feeddate.h"

namespace pagewick {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr const char16_t* kDayNames[] = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};
constexpr const char16_t* kMonthNames[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                           u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};

// Western digits whatever the locale, zero-padded to the width.
QString Digits(int value, int width) {
    return QString::number(value).rightJustified(width, u'0');
}

QString TimeOfDay(QTime time) {
    return Digits(time.hour(), 2) + u':' + Digits(time.minute(), 2) + u':' + Digits(time.second(), 2);
}

} // namespace

QDateTime PublishableDate(const QDateTime& date) {
    if (!date.isValid())
        return {};
    QDateTime utc = date.toUTC();
    utc.setTime(QTime(utc.time().hour(), utc.time().minute(), utc.time().second()));
    return utc.date().year() >= 1900 && utc.date().year() <= 9999 ? utc : QDateTime();
}

QString Rfc822Date(const QDateTime& date) {
    const QDateTime utc = PublishableDate(date);
    if (!utc.isValid())
        return {};
    const QDate day = utc.date();
    return QString::fromUtf16(kDayNames[day.dayOfWeek() - 1]) + u", "_s + Digits(day.day(), 2) + u' ' +
           QString::fromUtf16(kMonthNames[day.month() - 1]) + u' ' + Digits(day.year(), 4) + u' ' +
           TimeOfDay(utc.time()) + u" +0000"_s;
}

QString Rfc3339Date(const QDateTime& date) {
    const QDateTime utc = PublishableDate(date);
    if (!utc.isValid())
        return {};
    const QDate day = utc.date();
    return Digits(day.year(), 4) + u'-' + Digits(day.month(), 2) + u'-' + Digits(day.day(), 2) + u'T' +
           TimeOfDay(utc.time()) + u'Z';
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
