#include "engine/index.h"

#include "engine/paths.h"
#include "engine/title.h"

namespace pagewick {

QString EscapePlainText(const QString& text) { return text.toHtmlEscaped(); }

QString BuildIndexText(const QString& folderText, const QStringList& pageNames) {
    QString out = QStringLiteral("<ul>\r\n");
    for (const QString& name : pageNames) {
        const QString path = PagePath(folderText, name);
        const auto title = ReadPageTitle(path);
        out += QStringLiteral("<li><a href=\"") + PercentEncodePathSegment(name) + QStringLiteral("\">") +
               (title ? *title : EscapePlainText(path)) + QStringLiteral("</a>\r\n");
    }
    out += QStringLiteral("</ul>");
    return out;
}

QString BuildPageDocument(const QString& pageTitle, const QString& indexText) {
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") + pageTitle +
           QStringLiteral("</title></head><body><h1>") + pageTitle + QStringLiteral("</h1>") + indexText +
           QStringLiteral("</body></html>");
}

} // namespace pagewick
