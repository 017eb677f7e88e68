#include "engine/index.h"

#include "engine/order.h"
#include "engine/pagereader.h"
#include "engine/paths.h"

#include <algorithm>
#include <optional>

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

void AppendIndexLine(QString& out, const QString& folderText, const QString& name,
                     const std::optional<QString>& title) {
    out += u"<li><a href=\"";
    out += PercentEncodePagePath(name);
    out += u"\">";
    // A title is text whose references a browser resolves, so they stay as written; its "<" and
    // ">" are text too and must not become markup here. The path standing in for a missing title
    // is plain text.
    out += title ? TitleLabel(*title) : PathLabel(PagePath(folderText, name));
    out += u"</a>\r\n";
}

// The index lines of pages as they are read, handed on a batch at a time: a big folder is never
// held as records as well as text.
class IndexLines {
public:
    IndexLines(const QString& folderText, std::function<void(const QString&)> sink)
        : folderText(folderText), sink(std::move(sink)), piece(QStringLiteral("<ul>\r\n")) {}
    void add(const PageRecord& page) {
        AppendIndexLine(piece, folderText, page.name, page.title);
        if (++count % kBatch == 0) {
            sink(piece);
            piece.clear();
        }
    }
    void finish() {
        piece += u"</ul>";
        sink(piece);
    }

private:
    static constexpr qsizetype kBatch = 1024;
    const QString& folderText;
    const std::function<void(const QString&)> sink;
    QString piece;
    qsizetype count = 0;
};

} // namespace

QString FormatIndexText(const QString& folderText, const QList<PageRecord>& pages) {
    QString out = QStringLiteral("<ul>\r\n");
    out.reserve(pages.size() * 96);
    for (const PageRecord& page : pages)
        AppendIndexLine(out, folderText, page.name, page.title);
    out += u"</ul>";
    return out;
}

QString BuildIndexText(const QString& folderText, const QStringList& pageNames) {
    QString out;
    out.reserve(pageNames.size() * 96);
    IndexLines lines(folderText, [&out](const QString& piece) { out += piece; });
    ForEachPage(folderText, pageNames, WantTitle, [&lines](PageRecord&& page) { lines.add(page); });
    lines.finish();
    return out;
}

void StreamIndexText(const QString& folderText, const QStringList& pageNames, const PageSelection& selection,
                     const std::function<void(const QString&)>& sink) {
    IndexLines lines(folderText, sink);
    ForEachSelectedPage(folderText, pageNames, selection, WantTitle,
                        [&lines](PageRecord&& page) { lines.add(page); });
    lines.finish();
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
