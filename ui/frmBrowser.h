#pragma once

#include "ui/previewwindow.h"

#include <QString>
#include <QUrl>
#include <functional>

class QTextBrowser;

namespace pagewick {

// "Pagewick Browser": the index rendered as an HTML page.
class frmBrowser : public PreviewWindow {
    Q_OBJECT
public:
    explicit frmBrowser(QWidget* parent = nullptr);

    // Shows the index; links are resolved against folderText. Brings the window forward.
    void showIndex(const QString& indexText, const QString& folderText);

    // Where a clicked link would lead: the link resolved against the folder of the index.
    static QUrl ResolveLink(const QString& folderText, const QUrl& link);

    // What opens a clicked page; by default the user's web browser (QDesktopServices).
    void setLinkOpener(std::function<void(const QUrl&)> opener);

Q_SIGNALS:
    // A link was clicked and handed to the opener.
    void linkOpened(const QUrl& url);

private:
    void brwBrowser_AnchorClicked(const QUrl& link);

    QTextBrowser* brwBrowser;
    QString folderText;
    std::function<void(const QUrl&)> openLink;
};

} // namespace pagewick
