#include "engine/output/pagedetails.h"

#include "engine/output/feeddate.h"
#include "engine/output/index.h"

#include <QCoreApplication>

namespace pagewick {

using namespace Qt::StringLiterals;

namespace {

struct DetailWord {
    IndexDetail detail;
    QLatin1StringView word;
};

constexpr DetailWord kDetailWords[] = {
    {IndexDetail::Date, "date"_L1},
    {IndexDetail::Size, "size"_L1},
    {IndexDetail::Description, "description"_L1},
};

} // namespace

PageWants IndexDetailWants(const IndexDetails& details) {
    PageWants wants = WantTitle;
    for (const IndexDetail detail : details.shown) {
        if (detail == IndexDetail::Date)
            wants |= WantDate;
        else if (detail == IndexDetail::Size)
            wants |= WantSize;
        else
            wants |= WantDescription;
    }
    return wants;
}

std::optional<QList<IndexDetail>> ParseIndexDetails(const QString& words, QString* error) {
    const auto fail = [error](const QString& why) -> std::optional<QList<IndexDetail>> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QList<IndexDetail> details;
    for (const QString& word : words.split(u',')) {
        const auto* found = std::find_if(std::begin(kDetailWords), std::end(kDetailWords),
                                         [&word](const DetailWord& entry) { return word == entry.word; });
        if (found == std::end(kDetailWords))
            return fail(QCoreApplication::translate("pagewick::engine",
                                                    "\"%1\" is not a detail: date, size or description")
                            .arg(word));
        if (details.contains(found->detail))
            return fail(QCoreApplication::translate("pagewick::engine", "\"%1\" is given twice").arg(word));
        details.append(found->detail);
    }
    return details;
}

QString IndexDetailWords(const QList<IndexDetail>& details) {
    QStringList words;
    for (const IndexDetail detail : details) {
        for (const DetailWord& entry : kDetailWords) {
            if (entry.detail == detail)
                words.append(entry.word);
        }
    }
    return words.join(u',');
}

QString HumanSize(qint64 bytes, const QLocale& locale) {
    return locale.formattedDataSize(bytes, 1);
}

void AppendIndexDetails(QString& out, const PageRecord& page, const IndexDetails& details) {
    for (const IndexDetail detail : details.shown) {
        switch (detail) {
        case IndexDetail::Date: {
            const QString stamp = Rfc3339Date(page.date);
            if (stamp.isEmpty())
                break;
            const QString shown =
                details.userLocale
                    ? details.userLocale->toString(PublishableDate(page.date).toLocalTime().date(),
                                                   QLocale::ShortFormat)
                    : stamp.left(10);
            out += u" <time datetime=\""_s + stamp + u"\">"_s + EscapePlainText(shown) + u"</time>"_s;
            break;
        }
        case IndexDetail::Size:
            if (page.size >= 0)
                out += u" <span class=\"size\">"_s +
                       EscapePlainText(HumanSize(page.size, details.userLocale.value_or(QLocale::c()))) +
                       u"</span>"_s;
            break;
        case IndexDetail::Description:
            if (page.description)
                out += u" <span class=\"description\">"_s + EscapePlainText(*page.description) + u"</span>"_s;
            break;
        }
    }
}

} // namespace pagewick
