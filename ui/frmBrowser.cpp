#include "ui/frmBrowser.h"

#include "engine/paths.h"

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

frmBrowser::frmBrowser(QWidget* parent)
    : PreviewWindow(QStringLiteral("Pagewick Browser"), QSize(50, 200), parent),
      brwBrowser(new OfflineTextBrowser(this)),
      openLink([](const QUrl& url) { QDesktopServices::openUrl(url); }) {

    brwBrowser->setObjectName(QStringLiteral("brwBrowser"));
    brwBrowser->setOpenLinks(false);
    brwBrowser->setOpenExternalLinks(false);
    connect(brwBrowser, &QTextBrowser::anchorClicked, this, &frmBrowser::brwBrowser_AnchorClicked);
    setControl(brwBrowser);
}

void frmBrowser::showIndex(const QString& indexText, const QString& folder) {
    folderText = folder;
    brwBrowser->setHtml(indexText);
    bringForward();
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

} // namespace pagewick
