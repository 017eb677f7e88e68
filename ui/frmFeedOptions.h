#pragma once

#include "settings/feedsetting.h"
#include "ui/optionsdialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace pagewick {

// "Feed Options": what the RSS code adds (guids, the feed's address, dates, descriptions), the
// Atom feed's address, and which pages the feeds take in what order (order, limit, excludes; the
// sitemap leaves out the same pages). OK checks the addresses and patterns before it closes.
class frmFeedOptions : public OptionsDialog {
    Q_OBJECT
public:
    explicit frmFeedOptions(QWidget* parent = nullptr);

    void setSettings(const FeedSettings& settings);
    FeedSettings settings() const;

    QString problem() const override;

protected:
    QWidget* faultyField() const override;
    void restoreDefaults() override;

private:
    QCheckBox* chkGuid;
    QLineEdit* txtFeedUrl;
    QCheckBox* chkDates;
    QCheckBox* chkMetaDescription;
    QLineEdit* txtAtomFeedUrl;
    QComboBox* cboOrder;
    QSpinBox* spnLimit;
    QPlainTextEdit* txtExcludes;
};

} // namespace pagewick
