#include "ui/frmBrowser.h"

#include "engine/files/paths.h"
#include "engine/text/entities.h"
#include "ui/apptitle.h"
#include "ui/busypointer.h"
#include "ui/controlname.h"
#include "ui/prompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QPointer>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace pagewick {

namespace {

using namespace Qt::StringLiterals;

// A browser that fetches nothing: no images, style sheets or anything else the markup points
// at, local or remote. The answer is an empty value rather than no value at all, which would
// let the document go and read the file itself.
class OfflineTextBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int, const QUrl&) override { return QVariant(QByteArray()); }
};

// The formats Qt's HTML reader gives a bulleted list of links, taken once from a one-item list,
// so the preview looks exactly as the index rendered as HTML does.
struct ListFormats {
    QTextListFormat list;
    QTextBlockFormat item;
    QTextCharFormat link;
};

ListFormats ListFormatsOf(const QTextDocument* like) {
    QTextDocument sample;
    sample.setDefaultFont(like->defaultFont());
    sample.setDefaultStyleSheet(like->defaultStyleSheet());
    sample.setHtml(u"<ul><li><a href=\"x\">x</a></li></ul>"_s);
    const QTextBlock block = sample.begin();
    ListFormats formats;
    if (block.textList())
        formats.list = block.textList()->format();
    formats.item = block.blockFormat();
    formats.item.clearProperty(QTextFormat::ObjectIndex); // the sample's list, not any list of ours
    formats.link = block.begin().fragment().charFormat();
    return formats;
}

// One page of the index: its link target, the markup of its label and of the details after it.
struct IndexEntry {
    QStringView href;
    QStringView label;
    QStringView details;
};

// The pages an index lists, each "<li><a href="HREF">LABEL</a>" up to the next page or the end
// of the list. A title holds no "<" and a link target no quote, so the markers cannot occur
// inside a page's line.
template <typename Visit> void ForEachIndexEntry(QStringView index, Visit visit) {
    constexpr QStringView open = u"<li><a href=\"";
    constexpr QStringView close = u"</a>";
    qsizetype at = index.indexOf(open);
    while (at >= 0) {
        const qsizetype hrefFrom = at + open.size();
        const qsizetype next = index.indexOf(open, hrefFrom);
        const QStringView line = index.sliced(hrefFrom, (next < 0 ? index.size() : next) - hrefFrom);
        const qsizetype hrefEnd = line.indexOf(u"\">");
        // A label holds no "<", so the first "</a>" after the target ends it; the details follow.
        const qsizetype labelEnd = hrefEnd < 0 ? -1 : line.indexOf(close, hrefEnd + 2);
        if (hrefEnd >= 0 && labelEnd >= hrefEnd + 2)
            visit(IndexEntry{line.first(hrefEnd), line.sliced(hrefEnd + 2, labelEnd - hrefEnd - 2),
                             line.sliced(labelEnd + close.size())});
        at = next;
    }
}

} // namespace

namespace {

bool IsHtmlSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Text with its character references replaced, and, for text on the page, its tags left out
// (the references are resolved after, so a "&lt;" stays a character).
QString DecodeHtml(QStringView html, bool onPage) {
    if (!onPage)
        return ResolveCharacterReferences(html);
    QString text;
    text.reserve(html.size());
    for (qsizetype i = 0; i < html.size();) {
        const qsizetype tag = html.indexOf(u'<', i);
        text += html.sliced(i, (tag < 0 ? html.size() : tag) - i);
        if (tag < 0)
            break;
        const qsizetype end = html.indexOf(u'>', tag);
        if (end < 0)
            break;
        i = end + 1;
    }
    return ResolveCharacterReferences(text);
}

} // namespace

QString IndexLabelText(QStringView html) {
    // On the page, every run of white space, written or referenced, shows as one space, and
    // none at either end of the line.
    const QString text = DecodeHtml(html, true);
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        if (IsHtmlSpace(c)) {
            space = true;
            continue;
        }
        if (space && !out.isEmpty())
            out += u' ';
        space = false;
        out += c;
    }
    return out;
}

void BuildIndexPreview(QTextDocument* document, const QString& indexText) {
    const ListFormats formats = ListFormatsOf(document);
    document->clear();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    // The list's space above sits on its first item and its space below on its last, as the
    // HTML reader puts them; the items between carry nothing but their place in the list.
    QTextBlockFormat firstItem = formats.item;
    firstItem.clearProperty(QTextFormat::BlockBottomMargin);
    // The items go into a run of short lists of the same format, which look exactly as one long
    // list: Qt looks an item up in its list by a linear search each time it lays one out.
    constexpr int kItemsPerList = 64;
    QTextBlockFormat item;
    bool first = true;
    int inList = 0;
    ForEachIndexEntry(indexText, [&](const IndexEntry& entry) {
        if (first) {
            cursor.setBlockFormat(firstItem);
            first = false;
        } else {
            cursor.insertBlock(item, QTextCharFormat());
        }
        if (inList == 0)
            item.setObjectIndex(cursor.createList(formats.list)->objectIndex());
        inList = (inList + 1) % kItemsPerList;
        QTextCharFormat link = formats.link;
        link.setAnchorHref(DecodeHtml(entry.href, false));
        cursor.insertText(IndexLabelText(entry.label), link);
        // The details (date, size, description) as a browser shows them after the link.
        if (const QStringView markup = entry.details.trimmed(); !markup.isEmpty()) {
            if (const QString details = IndexLabelText(markup); !details.isEmpty())
                cursor.insertText(u' ' + details, QTextCharFormat());
        }
    });
    if (!first) {
        QTextBlockFormat last;
        last.setBottomMargin(formats.item.bottomMargin());
        cursor.mergeBlockFormat(last);
    }
    cursor.endEditBlock();
    document->setUndoRedoEnabled(undo);
}

frmBrowser::frmBrowser(QWidget* parent)
    : PreviewWindow("frmBrowser", tr("Pagewick Browser"), QSize(50, 200), parent),
      brwBrowser(Named(new OfflineTextBrowser(this), "brwBrowser")),
      openLink([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    brwBrowser->setAccessibleName(windowTitle());
    brwBrowser->setOpenLinks(false);
    brwBrowser->setOpenExternalLinks(false);
    connect(brwBrowser, &QTextBrowser::anchorClicked, this, &frmBrowser::brwBrowser_AnchorClicked);
    setControl(brwBrowser);
}

void frmBrowser::showIndex(const QString& indexText, const QString& folder) {
    folderText = folder;
    if (!indexShown || indexText != shownIndex) {
        const BusyPointer busy;
        // Built apart from the window, which lays it out once, when it is given the whole.
        const QPointer<QTextDocument> old = brwBrowser->document();
        auto* document = new QTextDocument(brwBrowser);
        document->setDefaultFont(old->defaultFont());
        document->setDefaultStyleSheet(old->defaultStyleSheet());
        document->setDocumentMargin(old->documentMargin());
        document->setUndoRedoEnabled(false);
        BuildIndexPreview(document, indexText);
        brwBrowser->setDocument(document);
        // The control deletes a document it made itself; one made here goes here.
        if (old && old->parent() == brwBrowser)
            delete old.data();
        shownIndex = indexText;
        indexShown = true;
    }
    bringForward();
}

QUrl frmBrowser::ResolveLink(const QString& folderText, const QUrl& link) {
    QString folder = folderText;
    // A relative folder text means a folder below the working folder, as the scan reads it.
    if (!folder.isEmpty() && QDir::isRelativePath(folder))
        folder = QDir::current().absoluteFilePath(folder);
    return QUrl::fromLocalFile(EnsureTrailingSeparator(folder)).resolved(link);
}

bool frmBrowser::MayOpen(const QString& folderText, const QUrl& url) {
    const QString scheme = url.scheme();
    if (scheme == u"http" || scheme == u"https")
        return url.isValid() && !url.host().isEmpty();
    if (scheme != u"file" || !url.host().isEmpty())
        return false;
    const QString folder = QDir::cleanPath(ResolveLink(folderText, QUrl()).toLocalFile());
    const QString path = QDir::cleanPath(url.toLocalFile());
    return path.size() > folder.size() && path.startsWith(EnsureTrailingSeparator(folder));
}

void frmBrowser::setLinkOpener(std::function<void(const QUrl&)> opener) {
    openLink = std::move(opener);
}

void frmBrowser::brwBrowser_AnchorClicked(const QUrl& link) {
    const QUrl url = ResolveLink(folderText, link);
    // Page links lead to the folder's files; a titled link to a web site may lead there too.
    // Anything else (other files, other machines' shares, script addresses) stays here.
    if (!MayOpen(folderText, url)) {
        Warn(this, tr("Pagewick opens only web pages and the pages of the listed folder. "
                      "This link is not opened:\n\n") +
                       url.toDisplayString());
        return;
    }
    openLink(url);
    Q_EMIT linkOpened(url);
}

} // namespace pagewick
