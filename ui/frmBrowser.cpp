#include "ui/frmBrowser.h"

#include "engine/paths.h"
#include "ui/twips.h"

#include <QDesktopServices>
#include <QDir>
#include <QTextBrowser>

namespace pagewick {

namespace {

// A browser that fetches nothing: no images, style sheets or anything else the markup points
// at, local or remote. The index is shown as it stands.
class OfflineTextBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int, const QUrl&) override { return {}; }
};

} // namespace

std::optional<QSize> PreviewControlSize(QSize outerSize, QSize clientSize, QSize margins) {
    const QSize size = outerSize - margins;
    if (size.width() < 0 || size.height() < 0)
        return std::nullopt;
    return size.boundedTo(clientSize);
}

frmBrowser::frmBrowser(QWidget* parent)
    : QWidget(parent, Qt::Window), brwBrowser(new OfflineTextBrowser(this)),
      openLink([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setWindowTitle(QStringLiteral("Pagewick Browser"));
    resize(TwipsToPixels(4680, logicalDpiX()), TwipsToPixels(3195, logicalDpiY()));

    brwBrowser->setObjectName(QStringLiteral("brwBrowser"));
    brwBrowser->setOpenLinks(false);
    brwBrowser->setOpenExternalLinks(false);
    connect(brwBrowser, &QTextBrowser::anchorClicked, this, &frmBrowser::brwBrowser_AnchorClicked);
    fitBrowser();
}

void frmBrowser::showIndex(const QString& indexText, const QString& folder) {
    folderText = folder;
    brwBrowser->setHtml(indexText);
    show();
    raise();
    activateWindow();
}

QUrl frmBrowser::ResolveLink(const QString& folderText, const QUrl& link) {
    QString folder = folderText;
    // A relative folder text means a folder below the working folder, as the scan reads it.
    if (!folder.isEmpty() && QDir::isRelativePath(folder))
        folder = QDir::current().absoluteFilePath(folder);
    return QUrl::fromLocalFile(EnsureTrailingSeparator(folder)).resolved(link);
}

void frmBrowser::setLinkOpener(std::function<void(const QUrl&)> opener) {
    openLink = std::move(opener);
}

void frmBrowser::brwBrowser_AnchorClicked(const QUrl& link) {
    const QUrl url = ResolveLink(folderText, link);
    // Page links lead to files; a titled link to a web site may lead there too. Nothing else
    // (script addresses and the like) leaves the preview.
    static const QStringList openable = {QStringLiteral("file"), QStringLiteral("http"),
                                         QStringLiteral("https")};
    if (!openable.contains(url.scheme()))
        return;
    openLink(url);
    Q_EMIT linkOpened(url);
}

void frmBrowser::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitBrowser();
}

// The frame is known only once the window is on screen, and a window manager may add it later
// still: it then moves the client area, without resizing it.
void frmBrowser::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitBrowser();
}

void frmBrowser::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    fitBrowser();
}

void frmBrowser::fitBrowser() {
    const QSize margins(TwipsToPixels(50, logicalDpiX()), TwipsToPixels(200, logicalDpiY()));
    if (const auto size = PreviewControlSize(frameGeometry().size(), this->size(), margins))
        brwBrowser->setGeometry(0, 0, size->width(), size->height());
}

} // namespace pagewick
