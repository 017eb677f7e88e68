#include "engine/title.h"

#include <QFile>

namespace pagewick {

std::optional<QString> FindTitle(QStringView pageText) {
    const qsizetype open = pageText.indexOf(u"<title>", 0, Qt::CaseInsensitive);
    if (open < 0)
        return std::nullopt;
    const qsizetype close = pageText.indexOf(u"</title>", open, Qt::CaseInsensitive);
    if (close < 0)
        return std::nullopt;
    QString t = pageText.mid(open + 7, close - open - 7).toString().simplified();
    if (t.isEmpty())
        return std::nullopt;
    return t;
}

std::optional<QString> ReadPageTitle(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return FindTitle(QString::fromUtf8(f.readAll()));
}

QString ExtractTitle(const QString& path) { return ReadPageTitle(path).value_or(path); }

QString FlattenLineBreaks(const QString& text) {
    QString out = text;
    out.remove(u'\r');
    out.replace(u'\n', u' ');
    return out;
}

} // namespace pagewick
