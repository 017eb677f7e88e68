#pragma once

#include "settings/feedsetting.h"
#include "settings/pagesetting.h"
#include "ui/buttonstate.h"

#include <QDateTime>
#include <QIcon>
#include <QPointer>
#include <QStringList>
#include <QThreadPool>
#include <QWidget>
#include <array>
#include <atomic>
#include <memory>

class QAction;
class QFileDialog;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;

namespace pagewick {

class BusyPointer;
class frmBrowse;
class frmBrowser;
class frmTextpad;

// The second line of the page information box: when the page was created, in the user's locale.
// Where the file system keeps no creation time, the last-modified time, labelled as such.
QString PageDateText(const QDateTime& created, const QDateTime& lastModified);

// The start-up window: a menu bar over the client area, which holds the folder, its page files, the
// commands that build the index and the feed code, and the buttons that open the other windows.
// Closing it ends the program.
class frmMain : public QWidget {
    Q_OBJECT
public:
    // Opens on startFolder (see FolderToOpen) when one is given, else on the remembered folder.
    explicit frmMain(QWidget* parent = nullptr, const QString& startFolder = QString());
    ~frmMain() override;

    // Writes the folder text and rescans, also when the text is the one already shown.
    void setFolderText(const QString& folderText);

    // Opens a folder handed in from outside (Open Recent, a drop, the command line): a file opens
    // its folder; a path where nothing is says so. The folder becomes the most recent one.
    void openFolder(const QString& path);

    // The texts shared by the commands of this run.
    const QString& indexText() const { return IndexText; }
    const QString& feedText() const { return FeedText; }
    const QString& feedTitle() const { return FeedTitle; }
    const QString& siteUrl() const { return SiteUrl; }

public Q_SLOTS:
    void txtMap_Change();
    void cmdBrowse_Click();
    void cmdCreate_Click();
    void cmdCreateXMLcode_Click();
    void cmdBrowseHTML_Click();
    void cmdViewHTML_Click();
    void cmdViewXMLcode_Click();
    void cmdSaveFile_Click();
    void lstFiles_DblClick();

    // The menu commands; Open Folder... is cmdBrowse_Click.
    void mnuIncludeSubFolders_Click(bool checked);
    void mnuFeedOptions_Click();
    void mnuPageOptions_Click();
    void mnuSaveSitemap_Click();
    void mnuSaveAtom_Click();
    void mnuCheckSite_Click();
    void mnuAbout_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createMenus();
    void createClientArea();
    void createFolderControls();
    void createActionButtons();
    void setTabOrders();
    void connectHandlers();
    void Form_Load(const QString& startFolder);
    void fillRecentMenu();
    void keepRecentFolders(const QStringList& folders);
    void rememberFolder(const QString& folder);
    void reportSettingFailure(const QString& what, const QString& error);
    void saveGeneratedFile(const QString& offeredName, const QString& text);
    void fitFontToCaptions();
    void applyButtonState(ButtonStateRow row);
    QStringList listedPages() const;
    void showListedPages(const QStringList& names);
    void startSubFolderScan(const QString& folder);
    void cancelSubFolderScan();
    // Asks for the website's address, offering SiteUrl; an answer becomes SiteUrl. False when cancelled.
    bool askSiteUrl();
    frmBrowser* browser();
    frmTextpad* textpad();

    QMenuBar* mnuBar;
    QMenu* mnuOpenRecent;
    QAction* mnuIncludeSubFolders;
    QWidget* fraClient; // the window below the menu bar; the controls are placed in it
    QGroupBox* Frame1;
    QLineEdit* txtMap;
    QPushButton* cmdBrowse;
    QListWidget* lstFiles;
    QPushButton* cmdCreate;
    QPushButton* cmdViewHTML;
    QPushButton* cmdBrowseHTML;
    QPushButton* cmdSaveFile;
    QPushButton* cmdCreateXMLcode;
    QPushButton* cmdViewXMLcode;
    QFileDialog* cdl;
    QString lastSavedName; // of the file last saved through cdl, without folder: the next save offers it
    QFileDialog* cdlXml;   // for the sitemap and the Atom feed, so that cdl keeps the page's file name
    std::array<QPushButton*, ButtonColumnCount> actionButtons{}; // by ButtonState column
    QPointer<QPushButton> focusToRestore;

    QPointer<frmBrowse> browseWindow;
    QPointer<frmBrowser> browserWindow;
    QPointer<frmTextpad> textpadWindow;

    QIcon icon;
    QString IndexText;
    QString FeedText;
    QString FeedTitle;
    QString SiteUrl;

    FeedSettings feedSettings;
    PageSettings pageSettings;
    // The folder and pages the index was last built from: where it is saved, and what a page
    // template fills in.
    QString indexFolder;
    QStringList indexPages;
    QStringList recentFolders;
    bool includeSubFolders = false;

    // With sub-folders the listing runs here, off the interface thread, under the busy pointer;
    // only the latest scan's pages are shown, and a scan that is no longer wanted is cancelled.
    QThreadPool scans;
    std::shared_ptr<std::atomic<bool>> scanCancel; // of the scan whose pages are awaited, if any
    quint64 scanNumber = 0;
    std::unique_ptr<BusyPointer> scanBusy;

    bool settingFailureShown = false;
};

} // namespace pagewick
