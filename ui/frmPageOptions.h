#pragma once

#include "settings/pagesetting.h"
#include "ui/optionsdialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace pagewick {

// "Page Options": how the saved index page looks (a template of the user's, or the built-in page
// with a stylesheet) and what each index entry shows after its link (date, size, description). OK
// checks that the template can be read and makes a page before it closes.
class frmPageOptions : public OptionsDialog {
    Q_OBJECT
public:
    explicit frmPageOptions(QWidget* parent = nullptr);

    void setSettings(const PageSettings& settings);
    PageSettings settings() const;

    QString problem() const override;

protected:
    QWidget* faultyField() const override;
    void restoreDefaults() override;

private:
    void cmdBrowseTemplate_Click();

    QLineEdit* txtTemplate;
    QPushButton* cmdBrowseTemplate;
    QLineEdit* txtStylesheet;
    QCheckBox* chkDate;
    QCheckBox* chkSize;
    QCheckBox* chkDescription;
    QList<IndexDetail> shownOrder; // the details as set, so that unchanged ones keep their order
};

} // namespace pagewick
