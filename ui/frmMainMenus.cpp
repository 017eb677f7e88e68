// The main window's menu bar and the commands that live only there, and the folders that reach
// the window from outside (Open Recent, a drop, the command line).
#include "ui/frmMain.h"

#include "engine/check/sitecheck.h"
#include "engine/output/atom.h"
#include "engine/output/feed.h"
#include "engine/output/sitemap.h"
#include "settings/foldersetting.h"
#include "ui/about.h"
#include "ui/busypointer.h"
#include "ui/controlname.h"
#include "ui/foldertoopen.h"
#include "ui/frmFeedOptions.h"
#include "ui/frmPageOptions.h"
#include "ui/frmTextpad.h"
#include "ui/prompts.h"
#include "ui/saveflow.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

namespace pagewick {

namespace {

// The platform's keys for a standard command, with the key the command has always had among them:
// in some key schemes (Windows', and the one Qt falls back on) quitting has no standard key.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey command, const QKeySequence& ownKey) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(command);
    if (!keys.contains(ownKey))
        keys.append(ownKey);
    return keys;
}

// Opens an options dialog on settings; OK makes its settings the window's, and stores them.
// Returns false, with the reason in error, when they cannot be stored.
template <typename Dialog, typename Settings>
bool EditSettings(QWidget* parent, Settings& settings, bool (*save)(const Settings&, QString*),
                  QString* error) {
    Dialog dialog(parent);
    dialog.setSettings(settings);
    if (dialog.exec() != QDialog::Accepted)
        return true;
    settings = dialog.settings();
    return save(settings, error);
}

// The one local folder or file a drag carries, else nothing: several items, or a web address,
// are not something to open.
QString DraggedPath(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

} // namespace

void frmMain::createMenus() {
    mnuBar = Named(new QMenuBar(this), "mnuBar");

    QMenu* file = Named(mnuBar->addMenu(tr("&File")), "mnuFile");
    QAction* open =
        Named(file->addAction(tr("&Open Folder..."), this, &frmMain::cmdBrowse_Click), "mnuOpenFolder");
    open->setShortcuts(StandardKeys(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    mnuOpenRecent = Named(file->addMenu(tr("Open &Recent")), "mnuOpenRecent");
    mnuIncludeSubFolders = Named(file->addAction(tr("Include &Sub-folders")), "mnuIncludeSubFolders");
    mnuIncludeSubFolders->setCheckable(true);
    connect(mnuIncludeSubFolders, &QAction::toggled, this, &frmMain::mnuIncludeSubFolders_Click);
    file->addSeparator();
    QAction* quit = Named(file->addAction(tr("&Quit"), this, &QWidget::close), "mnuQuit");
    quit->setShortcuts(StandardKeys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));

    QMenu* feed = Named(mnuBar->addMenu(tr("F&eed")), "mnuFeed");
    Named(feed->addAction(tr("Feed &Options..."), this, &frmMain::mnuFeedOptions_Click), "mnuFeedOptions");
    Named(feed->addAction(tr("&Page Options..."), this, &frmMain::mnuPageOptions_Click), "mnuPageOptions");
    feed->addSeparator();
    Named(feed->addAction(tr("Save &Sitemap..."), this, &frmMain::mnuSaveSitemap_Click), "mnuSaveSitemap");
    Named(feed->addAction(tr("Save &Atom Feed..."), this, &frmMain::mnuSaveAtom_Click), "mnuSaveAtom");
    feed->addSeparator();
    Named(feed->addAction(tr("&Check Site..."), this, &frmMain::mnuCheckSite_Click), "mnuCheckSite");

    QMenu* help = Named(mnuBar->addMenu(tr("&Help")), "mnuHelp");
    Named(help->addAction(tr("&About Pagewick"), this, &frmMain::mnuAbout_Click), "mnuAbout");
}

void frmMain::fillRecentMenu() {
    // Deleted later: this may run from one of the entries' own handlers.
    for (QAction* entry : mnuOpenRecent->actions()) {
        mnuOpenRecent->removeAction(entry);
        entry->deleteLater();
    }
    for (const QString& folder : recentFolders) {
        // "&" in a menu entry marks the next letter as its key; a folder's "&" is shown as it is.
        QAction* entry = mnuOpenRecent->addAction(QString(folder).replace(u'&', QStringLiteral("&&")));
        entry->setData(folder);
        connect(entry, &QAction::triggered, this, [this, folder] { openFolder(folder); });
    }
    if (recentFolders.isEmpty())
        mnuOpenRecent->addAction(tr("No Recent Folders"))->setEnabled(false);
    mnuOpenRecent->addSeparator();
    QAction* clear = Named(mnuOpenRecent->addAction(tr("&Clear Recent")), "mnuClearRecent");
    clear->setEnabled(!recentFolders.isEmpty());
    connect(clear, &QAction::triggered, this, [this] { keepRecentFolders({}); });
}

void frmMain::keepRecentFolders(const QStringList& folders) {
    if (folders == recentFolders)
        return;
    recentFolders = folders;
    fillRecentMenu();
    QString error;
    if (!SaveRecentFolders(recentFolders, &error))
        reportSettingFailure(tr("the recent folders"), error);
}

void frmMain::openFolder(const QString& path) {
    QString problem;
    const QString folder = FolderToOpen(path, &problem);
    if (folder.isEmpty()) {
        // An entry of Open Recent that is gone is taken off the list.
        QStringList kept = recentFolders;
        kept.removeAll(QDir::cleanPath(path));
        keepRecentFolders(kept);
        Warn(this, problem);
        return;
    }
    setFolderText(folder);
    rememberFolder(folder);
}

void frmMain::rememberFolder(const QString& folder) {
    const QString opened = FolderToOpen(folder);
    if (opened.isEmpty())
        return;
    keepRecentFolders(WithRecentFolder(recentFolders, opened));
}

void frmMain::reportSettingFailure(const QString& what, const QString& error) {
    // Said once a run: the store will not get better between two keystrokes.
    if (settingFailureShown)
        return;
    settingFailureShown = true;
    Warn(this, tr("Pagewick cannot remember %1 for the next start.\n\n").arg(what) + error);
}

void frmMain::mnuIncludeSubFolders_Click(bool checked) {
    includeSubFolders = checked;
    QString error;
    if (!SaveSubFoldersSetting(checked, &error))
        reportSettingFailure(tr("whether sub-folders are included"), error);
    txtMap_Change();
}

void frmMain::mnuFeedOptions_Click() {
    QString error;
    if (!EditSettings<frmFeedOptions>(this, feedSettings, SaveFeedSettings, &error))
        reportSettingFailure(tr("the feed options"), error);
}

void frmMain::mnuPageOptions_Click() {
    QString error;
    if (!EditSettings<frmPageOptions>(this, pageSettings, SavePageSettings, &error))
        reportSettingFailure(tr("the page options"), error);
}

void frmMain::mnuSaveSitemap_Click() {
    if (!askSiteUrl())
        return;
    if (const QString problem = SitemapAddressProblem(SiteUrl); !problem.isEmpty()) {
        Warn(this, tr("Pagewick cannot build the sitemap: %1.").arg(problem));
        return;
    }
    QString text;
    QString problem;
    {
        const BusyPointer busy;
        problem = BuildSitemapTextWithinLimits({.folderText = txtMap->text(),
                                                .pageNames = listedPages(),
                                                .siteUrl = SiteUrl,
                                                .options = SitemapOptionsForFeeds(feedSettings.options)},
                                               &text);
    }
    // Search engines refuse a sitemap past the protocol's limits: none is saved.
    if (!problem.isEmpty()) {
        Warn(this, tr("Pagewick cannot build the sitemap: %1.").arg(problem));
        return;
    }
    saveGeneratedFile(QStringLiteral("sitemap.xml"), text);
}

void frmMain::mnuSaveAtom_Click() {
    const FeedOptions& options = feedSettings.options;
    if (options.atomUrl.isEmpty()) {
        Warn(this, tr("An Atom feed names its own address. Give the address the Atom feed will have "
                      "under Feed Options (Feed menu), then save it again."));
        return;
    }
    const std::optional<QString> feedTitle = AskText(this, tr("Give the title of the Atom feed"), FeedTitle);
    if (!feedTitle)
        return;
    FeedTitle = *feedTitle;
    if (!askSiteUrl())
        return;
    if (const QString problem = FeedAddressProblem(FeedFormat::Atom, SiteUrl, options); !problem.isEmpty()) {
        Warn(this, tr("Pagewick cannot build the Atom feed: %1.").arg(problem));
        return;
    }
    QString text;
    {
        const BusyPointer busy;
        text = BuildAtomText({.folderText = txtMap->text(),
                              .pageNames = listedPages(),
                              .feedTitle = FeedTitle,
                              .siteUrl = SiteUrl,
                              .options = options});
    }
    // The file name the feed's address ends in is the name offered.
    const QString offered = QUrl(options.atomUrl, QUrl::StrictMode).fileName();
    saveGeneratedFile(offered.isEmpty() ? QStringLiteral("atom.xml") : offered, text);
}

void frmMain::mnuCheckSite_Click() {
    // The folder is read afresh, with its sub-folders when the list shows them, so the report is
    // about the pages as they are now.
    WalkOptions walk;
    walk.recursive = includeSubFolders;
    QString report;
    {
        const BusyPointer busy;
        report = CheckFolderText(txtMap->text(), walk);
    }
    textpad()->showText(report);
}

void frmMain::saveGeneratedFile(const QString& offeredName, const QString& text) {
    SaveTextFile(this, cdlXml, txtMap->text(), offeredName, text);
}

void frmMain::mnuAbout_Click() {
    ShowAboutBox(this, icon);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!DraggedPath(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dragMoveEvent(QDragMoveEvent* event) {
    if (!DraggedPath(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const QString path = DraggedPath(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openFolder(path);
}

} // namespace pagewick
