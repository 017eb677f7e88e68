#include "engine/index.h"

#include "engine/pagereader.h"
#include "engine/paths.h"

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

// A title as the index shows it: as the browser's title bar shows it, so "<" and ">" are
// escaped and everything else, references and a bare "&" included, stays as written.
QString TitleLabel(const QString& title) {
    if (!title.contains(u'<') && !title.contains(u'>'))
        return title;
    QString label;
    label.reserve(title.size() + 16);
    for (const QChar c : title) {
        if (c == u'<')
            label += u"&lt;";
        else if (c == u'>')
            label += u"&gt;";
        else
            label += c;
    }
    return label;
}

} // namespace

QString FormatIndexText(const QString& folderText, const QList<PageRecord>& pages) {
    QString out = QStringLiteral("<ul>\r\n");
    out.reserve(pages.size() * 96);
    for (const PageRecord& page : pages) {
        out += u"<li><a href=\"";
        out += PercentEncodePathSegment(page.name);
        out += u"\">";
        // A title is text whose references a browser resolves, so they stay as written; its "<"
        // and ">" are text too and must not become markup here. The path standing in for a
        // missing title is plain text.
        out += page.title ? TitleLabel(*page.title) : PathLabel(PagePath(folderText, page.name));
        out += u"</a>\r\n";
    }
    out += u"</ul>";
    return out;
}

QString BuildIndexText(const QString& folderText, const QStringList& pageNames) {
    return FormatIndexText(folderText, ReadPages(folderText, pageNames));
}

QString BuildIndexText(const QString& folderText, const QStringList& pageNames,
                       const PageSelection& selection) {
    return FormatIndexText(folderText, SelectPages(folderText, pageNames, selection));
}

QString BuildPageDocument(const QString& pageTitle, const QString& indexText) {
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") + pageTitle +
           QStringLiteral("</title></head><body><h1>") + pageTitle + QStringLiteral("</h1>") + indexText +
           QStringLiteral("</body></html>\r\n");
}

} // namespace pagewick
