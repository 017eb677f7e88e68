#include "engine/output/index.h"

#include "engine/files/paths.h"
#include "engine/order/order.h"
#include "engine/output/feeddate.h"
#include "engine/output/pagetemplate.h"
#include "engine/reading/pagereader.h"

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

void AppendIndexLine(QString& out, const QString& folderText, const PageRecord& page,
                     const IndexDetails& details) {
    out += u"<li><a href=\"";
    out += PercentEncodePagePath(page.name);
    out += u"\">";
    // A title is text whose references a browser resolves, so they stay as written; its "<" and
    // ">" are text too and must not become markup here. The path standing in for a missing title
    // is plain text.
    out += page.title ? TitleLabel(*page.title) : PathLabel(PagePath(folderText, page.name));
    out += u"</a>";
    if (!details.shown.isEmpty())
        AppendIndexDetails(out, page, details);
    out += u"\r\n";
}

// The index lines of pages as they are read, handed on a batch at a time: a big folder is never
// held as records as well as text.
class IndexLines {
public:
    IndexLines(const QString& folderText, std::function<void(const QString&)> sink,
               const IndexDetails& details = {})
        : folderText(folderText), sink(std::move(sink)), details(details), piece(QStringLiteral("<ul>\r\n")) {
    }
    void add(const PageRecord& page) {
        AppendIndexLine(piece, folderText, page, details);
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
    const IndexDetails details;
    QString piece;
    qsizetype count = 0;
};

} // namespace

QString BuildIndexText(const QString& folderText, const QStringList& pageNames) {
    QString out;
    out.reserve(pageNames.size() * 96);
    IndexLines lines(folderText, [&out](const QString& piece) { out += piece; });
    ForEachPage(folderText, pageNames, WantTitle, [&lines](PageRecord&& page) { lines.add(page); });
    lines.finish();
    return out;
}

void StreamIndexText(const IndexRequest& request, const std::function<void(const QString&)>& sink,
                     IndexSummary* summary, bool dated) {
    const auto& [folderText, pageNames, selection, details, readAhead] = request;
    const PageWants wants = IndexPageWants(request, summary && dated);
    IndexLines lines(folderText, sink, details);
    ForEachSelectedPage(
        folderText, pageNames, selection, wants,
        [&](PageRecord&& page) {
            if (summary) {
                ++summary->count;
                if (const QDateTime date = PublishableDate(page.date);
                    dated && date.isValid() && (!summary->updated.isValid() || date > summary->updated))
                    summary->updated = date;
            }
            lines.add(page);
        },
        readAhead);
    lines.finish();
}

PageWants IndexPageWants(const IndexRequest& request, bool dated) {
    return PageWantsFor(request.selection,
                        IndexDetailWants(request.details) | (dated ? WantDate : WantTitle));
}

QString BuildIndexText(const IndexRequest& request) {
    QString out;
    out.reserve(request.pageNames.size() * 96);
    StreamIndexText(request, [&out](const QString& piece) { out += piece; });
    return out;
}

QString PageDocumentStart(const QString& pageTitle, const QString& stylesheetUrl) {
    QString start = QStringLiteral("<html><head><meta charset=\"utf-8\">");
    if (!stylesheetUrl.isEmpty())
        start += StylesheetLink(stylesheetUrl);
    return start + QStringLiteral("<title>") + pageTitle + QStringLiteral("</title></head><body><h1>") +
           pageTitle + QStringLiteral("</h1>");
}

QString PageDocumentEnd() {
    return QStringLiteral("</body></html>\r\n");
}

QString BuildPageDocument(const QString& pageTitle, const QString& indexText) {
    return PageDocumentStart(pageTitle) + indexText + PageDocumentEnd();
}

} // namespace pagewick
