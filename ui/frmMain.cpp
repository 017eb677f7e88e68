#include "ui/frmMain.h"

#include "engine/files/filename.h"
#include "engine/files/paths.h"
#include "engine/listing/sitewalk.h"
#include "engine/order/nameorder.h"
#include "engine/output/feed.h"
#include "engine/output/feeddate.h"
#include "engine/output/index.h"
#include "engine/output/pagetemplate.h"
#include "engine/reading/pagereader.h"
#include "engine/reading/title.h"
#include "settings/foldersetting.h"
#include "ui/apptitle.h"
#include "ui/busypointer.h"
#include "ui/controlname.h"
#include "ui/foldertoopen.h"
#include "ui/frmBrowse.h"
#include "ui/frmBrowser.h"
#include "ui/frmTextpad.h"
#include "ui/icon.h"
#include "ui/prompts.h"
#include "ui/saveflow.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVBoxLayout>
#include <limits>

namespace pagewick {

namespace {

// The pages the list shows without sub-folders: the folder's own, in name order (the walk is then
// the plain scan and the path order the name order).
QStringList ListPageFiles(const QString& folder) {
    QStringList paths = WalkPageFiles(folder).pages;
    SortPagePaths(paths);
    return paths;
}

// Whether a button's caption fits inside its frame with a few pixels to spare on either side.
bool fitsIn(const QPushButton* button, const QFontMetrics& metrics) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const int room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    return metrics.horizontalAdvance(button->text()) + 6 <= room;
}

// Return and Enter press the button that has the focus, as Space does. (An auto-default button
// would do the same, but would also become the window's default while it has the focus.)
class ReturnPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat())
            return false;
        static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

// A button pressed by Return as by Space, and announced by screen readers with its caption.
void PressedByReturn(QPushButton* button) {
    button->installEventFilter(new ReturnPresses(button));
    button->setAccessibleName(button->text());
}

} // namespace

QString PageDateText(const QDateTime& created, const QDateTime& lastModified) {
    // A zero time stamp is what some file systems hand out for "not recorded".
    const auto known = [](const QDateTime& t) { return t.isValid() && t.toMSecsSinceEpoch() > 0; };
    const QLocale locale;
    if (known(created))
        return locale.toString(created, QLocale::ShortFormat);
    if (known(lastModified))
        return QCoreApplication::translate("pagewick::frmMain", "Last modified: ") +
               locale.toString(lastModified, QLocale::ShortFormat);
    return QCoreApplication::translate("pagewick::frmMain", "Creation date unknown");
}

frmMain::frmMain(QWidget* parent, const QString& startFolder) : QWidget(parent), icon(PagewickIcon()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppTitle());
    setWindowIcon(icon);
    setAcceptDrops(true);

    createMenus();
    createClientArea();
    createFolderControls();
    createActionButtons();
    fitFontToCaptions();
    // Sized once the menu bar has its font: the height the layout gives it at this width.
    resize(fraClient->width(), fraClient->height() + mnuBar->heightForWidth(fraClient->width()));
    // Never shown on the window; the save commands set them up at each save, and cdl keeps the last
    // file name for the life of the window.
    cdl = Named(new QFileDialog(this), "cdl");
    cdlXml = Named(new QFileDialog(this), "cdlXml");
    setTabOrders();
    connectHandlers();

    applyButtonState(RowWindowCreated);
    Form_Load(startFolder);
    cmdBrowse->setFocus();
}

// The menu bar stands above the client area, which keeps the window's designed size and every
// control's place in it; the window is as much taller as the menu bar is high.
void frmMain::createClientArea() {
    fraClient = Named(new QWidget(this), "fraClient");
    ResizeInTwips(fraClient, 4680, 3975);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(mnuBar);
    layout->addWidget(fraClient);
}

void frmMain::createFolderControls() {
    Frame1 = Named(new QGroupBox(tr("Folder"), fraClient), "Frame1");
    PlaceInTwips(Frame1, 120, 120, 4335, 735);
    // The caption sits on the frame's top line, so the controls placed inside stand clear of it.
    Frame1->setStyleSheet(QStringLiteral(
        "QGroupBox#Frame1 { border: 1px solid palette(mid); border-radius: 3px; margin-top: 0.6em; }"
        "QGroupBox#Frame1::title { subcontrol-origin: margin; left: 6px; padding: 0 3px; }"));

    txtMap = Named(new QLineEdit(Frame1), "txtMap");
    PlaceInTwips(txtMap, 120, 240, 2535, 285);
    txtMap->setToolTip(tr("The selected folder"));
    txtMap->setAccessibleName(txtMap->toolTip());
    // A remembered folder of any length comes back whole (the box would cut it at 32,767).
    txtMap->setMaxLength(std::numeric_limits<int>::max());

    cmdBrowse = Named(new QPushButton(tr("Browse"), Frame1), "cmdBrowse");
    PlaceInTwips(cmdBrowse, 2880, 240, 1215, 375);
    cmdBrowse->setToolTip(tr("Browse to select a folder"));
    PressedByReturn(cmdBrowse);

    lstFiles = Named(new QListWidget(fraClient), "lstFiles");
    PlaceInTwips(lstFiles, 240, 960, 2295, 2790);
    lstFiles->setToolTip(tr("List of files"));
    lstFiles->setAccessibleName(lstFiles->toolTip());
    lstFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFiles->setUniformItemSizes(true); // keeps a list of many thousand names quick to fill
    lstFiles->installEventFilter(this);
}

namespace {

// The action buttons, one column 480 twips apart, each named by its column of ButtonState.
struct ActionButton {
    ButtonColumn column;
    const char* name;
    const char* caption;
    const char* toolTip;
    int top;
    void (frmMain::*clicked)();
};

const ActionButton kActionButtons[] = {
    {ColCreate, "cmdCreate", QT_TRANSLATE_NOOP("pagewick::frmMain", "Create HTML"),
     QT_TRANSLATE_NOOP("pagewick::frmMain", "Create an index"), 960, &frmMain::cmdCreate_Click},
    {ColViewHTML, "cmdViewHTML", QT_TRANSLATE_NOOP("pagewick::frmMain", "View HTML code"),
     QT_TRANSLATE_NOOP("pagewick::frmMain",
                       "View the HTML code of the index. You can copy and paste into your HTML editor"),
     1440, &frmMain::cmdViewHTML_Click},
    {ColBrowseHTML, "cmdBrowseHTML", QT_TRANSLATE_NOOP("pagewick::frmMain", "View in Browser"),
     QT_TRANSLATE_NOOP("pagewick::frmMain", "View the index in a browser"), 1920,
     &frmMain::cmdBrowseHTML_Click},
    {ColSaveFile, "cmdSaveFile", QT_TRANSLATE_NOOP("pagewick::frmMain", "Save HTML file"), "", 2400,
     &frmMain::cmdSaveFile_Click},
    {ColCreateXMLcode, "cmdCreateXMLcode", QT_TRANSLATE_NOOP("pagewick::frmMain", "Create XML code"),
     QT_TRANSLATE_NOOP("pagewick::frmMain", "Click to genereate XML code to include in a RSS feed"), 2880,
     &frmMain::cmdCreateXMLcode_Click},
    {ColViewXMLcode, "cmdViewXMLcode", QT_TRANSLATE_NOOP("pagewick::frmMain", "View XML code"),
     QT_TRANSLATE_NOOP("pagewick::frmMain", "Click to view the XML code to be pasted in a RSS feed"), 3360,
     &frmMain::cmdViewXMLcode_Click},
};

} // namespace

void frmMain::createActionButtons() {
    for (const ActionButton& entry : kActionButtons) {
        auto* button = Named(new QPushButton(tr(entry.caption), fraClient), entry.name);
        PlaceInTwips(button, 2760, entry.top, 1575, 375);
        button->setToolTip(*entry.toolTip ? tr(entry.toolTip) : QString());
        PressedByReturn(button);
        actionButtons[entry.column] = button;
    }
    cmdCreate = actionButtons[ColCreate];
    cmdViewHTML = actionButtons[ColViewHTML];
    cmdBrowseHTML = actionButtons[ColBrowseHTML];
    cmdSaveFile = actionButtons[ColSaveFile];
    cmdCreateXMLcode = actionButtons[ColCreateXMLcode];
    cmdViewXMLcode = actionButtons[ColViewXMLcode];
}

// Top to bottom: the folder, its pages, then the buttons in the order they stand.
void frmMain::setTabOrders() {
    QWidget* order[] = {cmdBrowse, txtMap, lstFiles};
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
    for (const ActionButton& entry : kActionButtons) {
        setTabOrder(previous, actionButtons[entry.column]);
        previous = actionButtons[entry.column];
    }
}

void frmMain::connectHandlers() {
    // Every change of the text rescans, once: user edits arrive here, writes by code go through
    // setFolderText, which runs the handler itself so that rewriting the same text rescans too.
    connect(txtMap, &QLineEdit::textChanged, this, &frmMain::txtMap_Change);
    // A folder dropped on the box opens, as anywhere on the window, rather than going in as text.
    txtMap->setAcceptDrops(false);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmMain::cmdBrowse_Click);
    for (const ActionButton& entry : kActionButtons)
        connect(actionButtons[entry.column], &QPushButton::clicked, this, entry.clicked);
    connect(lstFiles, &QListWidget::itemDoubleClicked, this, &frmMain::lstFiles_DblClick);
}

frmMain::~frmMain() {
    cancelSubFolderScan();
    scans.waitForDone();
    delete browseWindow.data();
    delete browserWindow.data();
    delete textpadWindow.data();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    // Return on a listed page opens its information box, as a double-click does.
    if (watched == lstFiles && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && lstFiles->currentItem()) {
            lstFiles_DblClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::fitFontToCaptions() {
    // The buttons have fixed widths, so on a desktop with a large font the window takes a smaller
    // one rather than clip a caption.
    const auto fits = [this](const QFont& font) {
        const QFontMetrics metrics(font);
        for (const QPushButton* button : actionButtons) {
            if (!fitsIn(button, metrics))
                return false;
        }
        return fitsIn(cmdBrowse, metrics);
    };
    QFont font = this->font();
    if (font.pointSizeF() <= 0 || fits(font)) // a font sized in pixels is left as the desktop has it
        return;
    do
        font.setPointSizeF(font.pointSizeF() - 0.5);
    while (!fits(font) && font.pointSizeF() > 6.0);
    setFont(font);
}

void frmMain::Form_Load(const QString& startFolder) {
    feedSettings = LoadFeedSettings();
    pageSettings = LoadPageSettings();
    recentFolders = LoadRecentFolders();
    fillRecentMenu();
    includeSubFolders = LoadSubFoldersSetting();
    {
        const QSignalBlocker quiet(mnuIncludeSubFolders); // the folder is scanned once, below
        mnuIncludeSubFolders->setChecked(includeSubFolders);
    }
    if (startFolder.isEmpty()) {
        setFolderText(LoadFolderSetting());
        return;
    }
    QString problem;
    const QString folder = FolderToOpen(startFolder, &problem);
    setFolderText(folder.isEmpty() ? LoadFolderSetting() : folder);
    if (folder.isEmpty()) {
        Warn(this, problem);
        return;
    }
    rememberFolder(folder);
}

void frmMain::setFolderText(const QString& folderText) {
    {
        const QSignalBlocker quiet(txtMap);
        txtMap->setText(folderText);
    }
    txtMap_Change();
}

void frmMain::applyButtonState(ButtonStateRow row) {
    const ButtonStateLine& line = ButtonState[row];
    // A command that hides the button it was started from gives the focus back to that button
    // once it shows again, rather than leaving it wherever hiding put it.
    // A new folder starts afresh: the focus stays where the user is.
    const bool command = row != RowWindowCreated && row != RowFolderScanned;
    if (!command)
        focusToRestore = nullptr;
    QWidget* focused = focusWidget();
    for (std::size_t column = 0; column < line.size(); ++column) {
        QPushButton* button = actionButtons[column];
        if (command && line[column] == ButtonVisibility::Hide && button == focused)
            focusToRestore = button;
        if (line[column] != ButtonVisibility::Keep)
            button->setVisible(line[column] == ButtonVisibility::Show);
    }
    if (focusToRestore && !focusToRestore->isHidden()) {
        focusToRestore->setFocus();
        focusToRestore = nullptr;
    }
}

QStringList frmMain::listedPages() const {
    QStringList names;
    names.reserve(lstFiles->count());
    for (int i = 0; i < lstFiles->count(); ++i)
        names.append(lstFiles->item(i)->text());
    return names;
}

void frmMain::showListedPages(const QStringList& names) {
    lstFiles->setUpdatesEnabled(false);
    lstFiles->addItems(names);
    lstFiles->setUpdatesEnabled(true);
}

// A walk through sub-folders can take seconds (a large site, or "/" typed on the way to a longer
// path), so it runs on a thread of its own. The list stays empty until the walk is complete; a
// command pressed meanwhile works on the list as shown.
void frmMain::startSubFolderScan(const QString& folder) {
    cancelSubFolderScan();
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    scanCancel = cancel;
    const quint64 number = ++scanNumber;
    scanBusy = std::make_unique<BusyPointer>();
    scans.start([this, folder, cancel, number] {
        WalkOptions walk;
        walk.recursive = true;
        walk.cancel = cancel.get();
        QStringList paths = WalkPageFiles(folder, walk).pages;
        if (cancel->load())
            return;
        SortPagePaths(paths);
        // The window waits for this thread before it goes, so it is there to take the pages.
        QMetaObject::invokeMethod(
            this,
            [this, cancel, number, paths = std::move(paths)] {
                if (cancel->load() || number != scanNumber)
                    return;
                scanCancel.reset();
                showListedPages(paths);
                scanBusy.reset();
            },
            Qt::QueuedConnection);
    });
}

void frmMain::cancelSubFolderScan() {
    scans.clear(); // a scan that has not started yet never starts
    if (scanCancel)
        scanCancel->store(true);
    scanCancel.reset();
    scanBusy.reset();
}

void frmMain::txtMap_Change() {
    lstFiles->clear();
    const QString folder = txtMap->text();
    QString settingError;
    const bool remembered = SaveFolderSetting(folder, &settingError);

    if (includeSubFolders) {
        startSubFolderScan(folder);
    } else {
        cancelSubFolderScan();
        showListedPages(ListPageFiles(folder));
    }
    applyButtonState(RowFolderScanned);

    if (!remembered)
        reportSettingFailure(tr("the folder"), settingError);
}

void frmMain::cmdBrowse_Click() {
    // The list stays empty until a folder is chosen, whether or not its scan had ended.
    cancelSubFolderScan();
    lstFiles->clear();
    if (!browseWindow) {
        browseWindow = new frmBrowse;
        browseWindow->setWindowIcon(icon);
        connect(browseWindow, &frmBrowse::folderChosen, this, [this](const QString& folder) {
            setFolderText(folder);
            rememberFolder(folder);
        });
    }
    if (!txtMap->text().isEmpty())
        browseWindow->setFolderText(txtMap->text());
    browseWindow->show();
    browseWindow->raise();
    browseWindow->activateWindow();
}

void frmMain::cmdCreate_Click() {
    applyButtonState(RowCreateHtmlPressed);
    {
        const BusyPointer busy;
        indexFolder = txtMap->text();
        indexPages = listedPages();
        if (pageSettings.details.isEmpty())
            IndexText = BuildIndexText(indexFolder, indexPages);
        else
            IndexText = BuildIndexText({.folderText = indexFolder,
                                        .pageNames = indexPages,
                                        .details = IndexDetails{pageSettings.details, QLocale()}});
    }
    applyButtonState(RowCreateHtmlFinished);
    rememberFolder(txtMap->text());
}

bool frmMain::askSiteUrl() {
    const std::optional<QString> answer = AskText(this, tr("Give the URL of the website"), SiteUrl);
    if (answer)
        SiteUrl = *answer;
    return answer.has_value();
}

void frmMain::cmdCreateXMLcode_Click() {
    QString problem;
    applyButtonState(RowCreateXmlPressed);
    {
        const WindowBusyPointer windowBusy(this);
        // A cancelled prompt gives the empty answer, and the command goes on.
        FeedTitle = AskText(this, tr("Give the title of the RSS feed"), FeedTitle).value_or(QString());
        if (!askSiteUrl())
            SiteUrl.clear();
        // The plain feed takes any answers; once an option publishes an address, it must be one.
        problem = FeedAddressProblem(FeedFormat::Rss, SiteUrl, feedSettings.options);
        if (problem.isEmpty()) {
            const BusyPointer busy;
            FeedText = BuildFeedText({.folderText = txtMap->text(),
                                      .pageNames = listedPages(),
                                      .feedTitle = FeedTitle,
                                      .siteUrl = SiteUrl,
                                      .options = feedSettings.options});
        }
    }
    applyButtonState(RowCreateXmlFinished);
    if (!problem.isEmpty()) {
        Warn(this, tr("Pagewick cannot build the RSS code: %1.\n\nThe last RSS code is kept.").arg(problem));
        return;
    }
    rememberFolder(txtMap->text());
}

frmBrowser* frmMain::browser() {
    if (!browserWindow) {
        browserWindow = new frmBrowser;
        browserWindow->setWindowIcon(icon);
    }
    return browserWindow;
}

frmTextpad* frmMain::textpad() {
    if (!textpadWindow) {
        textpadWindow = new frmTextpad;
        textpadWindow->setWindowIcon(icon);
    }
    return textpadWindow;
}

void frmMain::cmdBrowseHTML_Click() {
    browser()->showIndex(IndexText, txtMap->text());
}

void frmMain::cmdViewHTML_Click() {
    textpad()->showText(IndexText);
}

void frmMain::cmdViewXMLcode_Click() {
    textpad()->showText(FeedText);
}

void frmMain::cmdSaveFile_Click() {
    // The index may be of a folder that is no longer in the box: it is saved where it belongs, not
    // over the page of the same name in the folder shown now.
    const QString saveFolder = indexFolder.isNull() ? txtMap->text() : indexFolder;
    if (pageSettings.templateFile.isEmpty() && pageSettings.stylesheetUrl.isEmpty()) {
        SaveIndexPage(this, cdl, &lastSavedName, saveFolder, IndexText);
        return;
    }
    if (pageSettings.templateFile.isEmpty()) {
        SaveIndexPage(this, cdl, &lastSavedName, saveFolder, [this](const QString& title) {
            return PageDocumentStart(title, pageSettings.stylesheetUrl) + IndexText + PageDocumentEnd();
        });
        return;
    }
    // The template is read at each save, so that the page has its latest version; one that can no
    // longer be used stops the command before anything is asked.
    QString why;
    const std::optional<PageTemplate> pageTemplate =
        LoadPageTemplate(pageSettings.templateFile, pageSettings.stylesheetUrl, &why);
    if (!pageTemplate) {
        Warn(this, tr("Pagewick cannot save the page with its template: %1.\n\nChoose another "
                      "template under Page Options (Feed menu).")
                       .arg(why));
        return;
    }
    SaveIndexPage(this, cdl, &lastSavedName, saveFolder, [this, &pageTemplate](const QString& title) {
        IndexSummary summary;
        summary.count = indexPages.size();
        if (pageTemplate->uses(PageTemplate::Updated)) {
            const BusyPointer busy;
            summary.updated = NewestPageDate(ReadPages(indexFolder, indexPages, WantDate));
        }
        return pageTemplate->render(title, IndexText, summary);
    });
}

void frmMain::lstFiles_DblClick() {
    const QListWidgetItem* item = lstFiles->currentItem();
    if (!item)
        return;
    const QString path = PagePath(txtMap->text(), item->text());
    const auto [created, lastModified] = ReadPageTimes(path);
    // A title such as "<b>News</b>" is shown as it stands.
    ShowMessage(this, QMessageBox::Information,
                ExtractTitle(path) + QStringLiteral("\r\n") + PageDateText(created, lastModified));
}

void frmMain::closeEvent(QCloseEvent* event) {
    // The other windows go with this one, whatever they answer, and this one always closes.
    const QPointer<QWidget> others[] = {browseWindow.data(), browserWindow.data(), textpadWindow.data()};
    for (const QPointer<QWidget>& window : others) {
        if (window)
            window->close();
        if (window && window->isVisible())
            window->hide();
    }
    event->accept();
}

} // namespace pagewick
