#include "engine/index.h"

#include "engine/pagereader.h"
#include "engine/paths.h"

#include <algorithm>

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

// One "<li>" line a page, appended to out.
void AppendIndexItems(QString& out, const QString& folderText, const QList<PageRecord>& pages) {
    for (const PageRecord& page : pages) {
        out += u"<li><a href=\"";
        out += PercentEncodePagePath(page.name);
        out += u"\">";
        // A title is text whose references a browser resolves, so they stay as written; its "<"
        // and ">" are text too and must not become markup here. The path standing in for a
        // missing title is plain text.
        out += page.title ? TitleLabel(*page.title) : PathLabel(PagePath(folderText, page.name));
        out += u"</a>\r\n";
    }
}

} // namespace

QString FormatIndexText(const QString& folderText, const QList<PageRecord>& pages) {
    QString out = QStringLiteral("<ul>\r\n");
    out.reserve(pages.size() * 96);
    AppendIndexItems(out, folderText, pages);
    out += u"</ul>";
    return out;
}

QString BuildIndexText(const QString& folderText, const QStringList& pageNames) {
    return FormatIndexText(folderText, ReadPages(folderText, pageNames));
}

void StreamIndexText(const QString& folderText, const QStringList& pageNames, const PageSelection& selection,
                     const std::function<void(const QString&)>& sink) {
    if (selection.order == PageOrder::Date) {
        sink(FormatIndexText(folderText, SelectPages(folderText, pageNames, selection)));
        return;
    }
    // A name order is known before any page is read: the pages are read and written a batch at
    // a time, so the records of a big folder are never all held at once.
    constexpr qsizetype kBatch = 1024;
    const QStringList names = SelectPageNames(pageNames, selection);
    const FolderPageReader reader(folderText);
    sink(QStringLiteral("<ul>\r\n"));
    QList<PageRecord> batch;
    batch.reserve(kBatch);
    QString piece;
    for (qsizetype at = 0; at < names.size(); at += kBatch) {
        batch.clear();
        for (qsizetype i = at; i < std::min(at + kBatch, names.size()); ++i)
            batch.append(reader.read(names[i]));
        piece.clear();
        AppendIndexItems(piece, folderText, batch);
        sink(piece);
    }
    sink(QStringLiteral("</ul>"));
}

QString BuildIndexText(const QString& folderText, const QStringList& pageNames,
                       const PageSelection& selection) {
    QString out;
    out.reserve(pageNames.size() * 96);
    StreamIndexText(folderText, pageNames, selection, [&out](const QString& piece) { out += piece; });
    return out;
}

QString PageDocumentStart(const QString& pageTitle) {
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") + pageTitle +
           QStringLiteral("</title></head><body><h1>") + pageTitle + QStringLiteral("</h1>");
}

QString PageDocumentEnd() {
    return QStringLiteral("</body></html>\r\n");
}

QString BuildPageDocument(const QString& pageTitle, const QString& indexText) {
    return PageDocumentStart(pageTitle) + indexText + PageDocumentEnd();
}

} // namespace pagewick
