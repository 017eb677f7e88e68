#pragma once

#include <QSize>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <optional>

class QTextBrowser;

namespace pagewick {

// The size a preview's one control takes in a window of the given outer size (caption and frame
// included) and client size: the outer size less the margins, never past the client area.
// nullopt when the window is smaller than its margins, so the control keeps its size.
std::optional<QSize> PreviewControlSize(QSize outerSize, QSize clientSize, QSize margins);

// "Pagewick Browser": the index rendered as an HTML page.
class frmBrowser : public QWidget {
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

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void brwBrowser_AnchorClicked(const QUrl& link);
    void fitBrowser();

    QTextBrowser* brwBrowser;
    QString folderText;
    std::function<void(const QUrl&)> openLink;
};

} // namespace pagewick
