#pragma once

#include <QDialog>
#include <initializer_list>

class QDialogButtonBox;

namespace pagewick {

// What the options dialogs share: their groups of fields, a note below them, then OK, Cancel and
// Restore Defaults. OK keeps the dialog open while problem() finds a fault: it says what is wrong
// and gives the field at fault the focus, so the user can mend it at once.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Empty when the settings can be kept, else what is wrong, as a sentence for a message.
    virtual QString problem() const = 0;

    void accept() override;

protected:
    OptionsDialog(QWidget* parent, const char* name, const QString& caption);

    // Adds the buttons, and lays out the groups, the note and the buttons one below the other, at
    // their natural size.
    void layOut(std::initializer_list<QWidget*> groups, const QString& note);

    // The field to mend after problem() found a fault.
    virtual QWidget* faultyField() const = 0;
    virtual void restoreDefaults() = 0;

    QDialogButtonBox* cmdButtons = nullptr;
};

} // namespace pagewick
