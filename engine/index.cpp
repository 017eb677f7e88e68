#include "engine/index.h"

#include "engine/paths.h"
#include "engine/title.h"

namespace pagewick {

QString EscapePlainText(const QString& text) {
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        if (c == u'&')
            out += u"&amp;";
        else if (c == u'<')
            out += u"&lt;";
        else if (c == u'>')
            out += u"&gt;";
        else
            out += c;
    }
    return out;
}

namespace {

// The path standing in for a missing title is plain text. File names may hold line breaks; they
// go in as character references, so the label still reads as the path and every page keeps to
// one line of the index.
QString PathLabel(const QString& path) {
    QString label = EscapePlainText(path);
    if (label.contains(u'\r') || label.contains(u'\n'))
        label.replace(u'\r', QStringLiteral("&#13;")).replace(u'\n', QStringLiteral("&#10;"));
    return label;
}

} // namespace

QString BuildIndexText(const QString& folderText, const QStringList& pageNames) {
    QString out = QStringLiteral("<ul>\r\n");
    out.reserve(pageNames.size() * 96);
    const FolderTitleReader titles(folderText);
    for (const QString& name : pageNames) {
        const std::optional<QString> title = titles.read(name);
        out += u"<li><a href=\"";
        out += PercentEncodePathSegment(name);
        out += u"\">";
        // A title is HTML already; the path standing in for a missing one is plain text.
        out += title ? *title : PathLabel(PagePath(folderText, name));
        out += u"</a>\r\n";
    }
    out += u"</ul>";
    return out;
}

QString BuildPageDocument(const QString& pageTitle, const QString& indexText) {
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") + pageTitle +
           QStringLiteral("</title></head><body><h1>") + pageTitle + QStringLiteral("</h1>") + indexText +
           QStringLiteral("</body></html>\r\n");
}

} // namespace pagewick
