#pragma once

#include "settings/feedsetting.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace pagewick {

// "Feed Options": what the RSS code adds (guids, the feed's address, dates, descriptions), the
// Atom feed's address, and which pages the feeds take in what order (order, limit, excludes; the
// sitemap leaves out the same pages). OK checks the addresses and patterns before it closes.
class frmFeedOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmFeedOptions(QWidget* parent = nullptr);

    void setSettings(const FeedSettings& settings);
    FeedSettings settings() const;

    // Empty when the settings can be kept, else what is wrong, as a sentence for a message.
    QString problem() const;

    void accept() override;

private:
    void restoreDefaults();

    QCheckBox* chkGuid;
    QLineEdit* txtFeedUrl;
    QCheckBox* chkDates;
    QCheckBox* chkMetaDescription;
    QLineEdit* txtAtomFeedUrl;
    QComboBox* cboOrder;
    QSpinBox* spnLimit;
    QPlainTextEdit* txtExcludes;
    QDialogButtonBox* buttons;
};

} // namespace pagewick
