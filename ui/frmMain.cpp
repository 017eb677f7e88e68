#include "ui/frmMain.h"

#include "engine/feed.h"
#include "engine/filename.h"
#include "engine/index.h"
#include "engine/pagereader.h"
#include "engine/paths.h"
#include "engine/scan.h"
#include "engine/title.h"
#include "settings/foldersetting.h"
#include "ui/busypointer.h"
#include "ui/foldertoopen.h"
#include "ui/frmBrowse.h"
#include "ui/frmBrowser.h"
#include "ui/frmTextpad.h"
#include "ui/icon.h"
#include "ui/saveflow.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QInputDialog>
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

namespace pagewick {

namespace {

const QString kAppTitle = QStringLiteral("Pagewick");

// Whether a button's caption fits inside its frame with a few pixels to spare on either side.
bool fitsIn(const QPushButton* button, const QFontMetrics& metrics) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const int room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    return metrics.horizontalAdvance(button->text()) + 6 <= room;
}

template <typename W> W* NamedControl(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

QString PageDateText(const QDateTime& created, const QDateTime& lastModified) {
    // A zero time stamp is what some file systems hand out for "not recorded".
    const auto known = [](const QDateTime& t) { return t.isValid() && t.toMSecsSinceEpoch() > 0; };
    const QLocale locale;
    if (known(created))
        return locale.toString(created, QLocale::ShortFormat);
    if (known(lastModified))
        return QStringLiteral("Last modified: ") + locale.toString(lastModified, QLocale::ShortFormat);
    return QStringLiteral("Creation date unknown");
}

frmMain::frmMain(QWidget* parent, const QString& startFolder) : QWidget(parent), icon(PagewickIcon()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kAppTitle);
    setWindowIcon(icon);
    setAcceptDrops(true);

    // The menu bar stands above the client area, which keeps the window's designed size and every
    // control's place in it; the window is as much taller as the menu bar is high.
    clientArea = NamedControl(new QWidget(this), "clientArea");
    ResizeInTwips(clientArea, 4680, 3975);
    createMenus();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(mnuBar);
    layout->addWidget(clientArea);

    Frame1 = NamedControl(new QGroupBox(QStringLiteral("Folder"), clientArea), "Frame1");
    PlaceInTwips(Frame1, 120, 120, 4335, 735);
    // The caption sits on the frame's top line, so the controls placed inside stand clear of it.
    Frame1->setStyleSheet(QStringLiteral(
        "QGroupBox#Frame1 { border: 1px solid palette(mid); border-radius: 3px; margin-top: 0.6em; }"
        "QGroupBox#Frame1::title { subcontrol-origin: margin; left: 6px; padding: 0 3px; }"));

    txtMap = NamedControl(new QLineEdit(Frame1), "txtMap");
    PlaceInTwips(txtMap, 120, 240, 2535, 285);
    txtMap->setToolTip(QStringLiteral("The selected folder"));

    cmdBrowse = NamedControl(new QPushButton(QStringLiteral("Browse"), Frame1), "cmdBrowse");
    PlaceInTwips(cmdBrowse, 2880, 240, 1215, 375);
    cmdBrowse->setToolTip(QStringLiteral("Browse to select a folder"));

    lstFiles = NamedControl(new QListWidget(clientArea), "lstFiles");
    PlaceInTwips(lstFiles, 240, 960, 2295, 2790);
    lstFiles->setToolTip(QStringLiteral("List of files"));
    lstFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFiles->setUniformItemSizes(true); // keeps a list of many thousand names quick to fill

    // The action buttons, one column 480 twips apart, in the column order of ButtonState.
    struct ActionButton {
        QPushButton*& member;
        const char* caption;
        const char* toolTip;
        int top;
    };
    const ActionButton buttons[] = {
        {cmdCreate, "Create HTML", "Create an index", 960},
        {cmdBrowseHTML, "View in Browser", "View the index in a browser", 1920},
        {cmdViewHTML, "View HTML code",
         "View the HTML code of the index. You can copy and paste into your HTML editor", 1440},
        {cmdSaveFile, "Save HTML file", "", 2400},
        {cmdCreateXMLcode, "Create XML code", "Click to genereate XML code to include in a RSS feed", 2880},
        {cmdViewXMLcode, "View XML code", "Click to view the XML code to be pasted in a RSS feed", 3360},
    };
    for (std::size_t i = 0; i < actionButtons.size(); ++i) {
        const ActionButton& b = buttons[i];
        b.member =
            NamedControl(new QPushButton(QString::fromUtf8(b.caption), clientArea), ActionButtonNames[i]);
        PlaceInTwips(b.member, 2760, b.top, 1575, 375);
        b.member->setToolTip(QString::fromUtf8(b.toolTip));
        actionButtons[i] = b.member;
    }

    fitFontToCaptions();
    // Sized once the menu bar has its font: the height the layout gives it at this width.
    resize(clientArea->width(), clientArea->height() + mnuBar->heightForWidth(clientArea->width()));

    // Never shown on the window; the save command sets it up at each save, and it keeps the last
    // file name for the life of the window.
    cdl = NamedControl(new QFileDialog(this), "cdl");
    cdlXml = NamedControl(new QFileDialog(this), "cdlXml");

    setTabOrder(cmdBrowse, txtMap);
    setTabOrder(txtMap, lstFiles);
    setTabOrder(lstFiles, cmdCreate);
    setTabOrder(cmdCreate, cmdViewHTML);
    setTabOrder(cmdViewHTML, cmdBrowseHTML);
    setTabOrder(cmdBrowseHTML, cmdSaveFile);
    setTabOrder(cmdSaveFile, cmdCreateXMLcode);
    setTabOrder(cmdCreateXMLcode, cmdViewXMLcode);

    // Every change of the text rescans, once: user edits arrive here, writes by code go through
    // setFolderText, which runs the handler itself so that rewriting the same text rescans too.
    // A folder dropped on the box opens, as anywhere on the window, rather than going in as text.
    txtMap->setAcceptDrops(false);
    connect(txtMap, &QLineEdit::textChanged, this, [this] {
        if (!writingFolderText)
            txtMap_Change();
    });
    connect(cmdBrowse, &QPushButton::clicked, this, &frmMain::cmdBrowse_Click);
    connect(cmdCreate, &QPushButton::clicked, this, &frmMain::cmdCreate_Click);
    connect(cmdViewHTML, &QPushButton::clicked, this, &frmMain::cmdViewHTML_Click);
    connect(cmdBrowseHTML, &QPushButton::clicked, this, &frmMain::cmdBrowseHTML_Click);
    connect(cmdSaveFile, &QPushButton::clicked, this, &frmMain::cmdSaveFile_Click);
    connect(cmdCreateXMLcode, &QPushButton::clicked, this, &frmMain::cmdCreateXMLcode_Click);
    connect(cmdViewXMLcode, &QPushButton::clicked, this, &frmMain::cmdViewXMLcode_Click);
    connect(lstFiles, &QListWidget::itemDoubleClicked, this, &frmMain::lstFiles_DblClick);

    applyButtonState(RowWindowCreated);
    Form_Load(startFolder);
    cmdBrowse->setFocus();
}

frmMain::~frmMain() {
    delete browseWindow.data();
    delete browserWindow.data();
    delete textpadWindow.data();
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
        QMessageBox box(QMessageBox::Warning, kAppTitle, problem, QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return;
    }
    rememberFolder(folder);
}

void frmMain::setFolderText(const QString& folderText) {
    writingFolderText = true;
    txtMap->setText(folderText);
    writingFolderText = false;
    txtMap_Change();
}

void frmMain::applyButtonState(ButtonStateRow row) {
    const ButtonStateLine& line = ButtonState[row];
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != ButtonVisibility::Keep)
            actionButtons[i]->setVisible(line[i] == ButtonVisibility::Show);
    }
}

QStringList frmMain::listedPages() const {
    QStringList names;
    names.reserve(lstFiles->count());
    for (int i = 0; i < lstFiles->count(); ++i)
        names.append(lstFiles->item(i)->text());
    return names;
}

void frmMain::txtMap_Change() {
    lstFiles->clear();
    const QString folder = txtMap->text();
    QString settingError;
    const bool remembered = SaveFolderSetting(folder, &settingError);

    QStringList names = ScanPageFiles(folder);
    SortPageNames(names);
    lstFiles->setUpdatesEnabled(false);
    lstFiles->addItems(names);
    lstFiles->setUpdatesEnabled(true);
    applyButtonState(RowFolderScanned);

    if (!remembered)
        reportSettingFailure(QStringLiteral("the folder"), settingError);
}

void frmMain::cmdBrowse_Click() {
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
        IndexText = BuildIndexText(txtMap->text(), listedPages());
    }
    applyButtonState(RowCreateHtmlFinished);
    rememberFolder(txtMap->text());
}

QString frmMain::askFeedAnswer(const QString& prompt, const QString& lastAnswer) {
    bool ok = false;
    const QString answer = QInputDialog::getText(this, kAppTitle, prompt, QLineEdit::Normal, lastAnswer, &ok);
    return ok ? answer : QString();
}

void frmMain::cmdCreateXMLcode_Click() {
    QString problem;
    applyButtonState(RowCreateXmlPressed);
    {
        const WindowBusyPointer windowBusy(this);
        FeedTitle = askFeedAnswer(QStringLiteral("Give the title of the RSS feed"), FeedTitle);
        SiteUrl = askFeedAnswer(QStringLiteral("Give the URL of the website"), SiteUrl);
        // The plain feed takes any answers; once an option publishes an address, it must be one.
        problem = FeedAddressProblem(FeedFormat::Rss, SiteUrl, feedSettings.options);
        if (problem.isEmpty()) {
            const BusyPointer busy;
            FeedText = BuildFeedText(txtMap->text(), listedPages(), FeedTitle, SiteUrl, feedSettings.options);
        }
    }
    applyButtonState(RowCreateXmlFinished);
    if (!problem.isEmpty()) {
        QMessageBox box(
            QMessageBox::Warning, kAppTitle,
            QStringLiteral("Pagewick cannot build the RSS code: %1.\n\nThe last RSS code is kept.")
                .arg(problem),
            QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
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
    SaveIndexPage(this, cdl, txtMap->text(), IndexText);
}

void frmMain::lstFiles_DblClick() {
    const QListWidgetItem* item = lstFiles->currentItem();
    if (!item)
        return;
    const QString path = PagePath(txtMap->text(), item->text());
    const auto [created, lastModified] = ReadPageTimes(path);
    QMessageBox box(QMessageBox::Information, kAppTitle,
                    ExtractTitle(path) + QStringLiteral("\r\n") + PageDateText(created, lastModified),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText); // a title such as "<b>News</b>" is shown as it stands
    box.exec();
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
