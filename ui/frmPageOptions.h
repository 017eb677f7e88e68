#pragma once

#include "settings/pagesetting.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;

namespace pagewick {

// "Page Options": how the saved index page looks (a template of the user's, or the built-in page
// with a stylesheet) and what each index entry shows after its link (date, size, description). OK
// checks that the template can be read and makes a page before it closes.
class frmPageOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmPageOptions(QWidget* parent = nullptr);

    void setSettings(const PageSettings& settings);
    PageSettings settings() const;

    // Empty when the settings can be kept, else what is wrong, as a sentence for a message.
    QString problem() const;

    void accept() override;

private:
    void cmdBrowseTemplate_Click();
    void restoreDefaults();

    QLineEdit* txtTemplate;
    QPushButton* cmdBrowseTemplate;
    QLineEdit* txtStylesheet;
    QCheckBox* chkDate;
    QCheckBox* chkSize;
    QCheckBox* chkDescription;
    QDialogButtonBox* buttons;
    QList<IndexDetail> shownOrder; // the details as set, so that unchanged ones keep their order
};

} // namespace pagewick
