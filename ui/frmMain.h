#pragma once

#include "ui/buttonstate.h"

#include <QDateTime>
#include <QIcon>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>

class QFileDialog;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pagewick {

class frmBrowse;
class frmBrowser;
class frmTextpad;

// The second line of the page information box: when the page was created, in the user's locale.
// Where the file system keeps no creation time, the last-modified time, labelled as such.
QString PageDateText(const QDateTime& created, const QDateTime& lastModified);

// The start-up window: the folder, its page files, the commands that build the index and the feed
// code, and the buttons that open the other windows. Closing it ends the program.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Writes the folder text and rescans, also when the text is the one already shown.
    void setFolderText(const QString& folderText);

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

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createFolderControls();
    void createActionButtons();
    void setTabOrders();
    void connectHandlers();
    void Form_Load();
    void fitFontToCaptions();
    void applyButtonState(ButtonStateRow row);
    QStringList listedPages() const;
    QString askFeedAnswer(const QString& prompt, const QString& lastAnswer);
    frmBrowser* browser();
    frmTextpad* textpad();

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

    bool settingFailureShown = false;
};

} // namespace pagewick
