#pragma once

#include "ui/previewwindow.h"

#include <QString>
#include <QUrl>
#include <functional>

class QTextBrowser;
class QTextDocument;

namespace pagewick {

// The text a browser shows for a piece of an index line: tags left out, character references
// ("&amp;", "&#233;", "&eacute;") replaced by the characters they stand for.
QString IndexLabelText(QStringView html);

// Fills document (its content replaced) with the index as a browser renders it: a bulleted list, one link per
// page, labelled with its text. Built block by block, so the time grows with the number of pages and nothing
// the index names is ever loaded.
void BuildIndexPreview(QTextDocument* document, const QString& indexText);

// "Pagewick Browser": the index rendered as an HTML page.
class frmBrowser : public PreviewWindow {
    Q_OBJECT
public:
    explicit frmBrowser(QWidget* parent = nullptr);

    // Shows the index; links are resolved against folderText. Brings the window forward. The
    // index is built again only when its text changed since the last call.
    void showIndex(const QString& indexText, const QString& folderText);

    // Where a clicked link would lead: the link resolved against the folder of the index.
    static QUrl ResolveLink(const QString& folderText, const QUrl& link);

    // Whether a resolved link may leave the preview: web pages, and files (on this machine) inside
    // the listed folder.
    static bool MayOpen(const QString& folderText, const QUrl& url);

    // What opens a clicked page; by default the user's web browser (QDesktopServices).
    void setLinkOpener(std::function<void(const QUrl&)> opener);

Q_SIGNALS:
    // A link was clicked and handed to the opener.
    void linkOpened(const QUrl& url);

private:
    void brwBrowser_AnchorClicked(const QUrl& link);

    QTextBrowser* brwBrowser;
    QString folderText;
    QString shownIndex;
    bool indexShown = false;
    std::function<void(const QUrl&)> openLink;
};

} // namespace pagewick
