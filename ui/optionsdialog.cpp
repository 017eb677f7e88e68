#include "ui/optionsdialog.h"

#include "ui/controlname.h"
#include "ui/prompts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pagewick {

OptionsDialog::OptionsDialog(QWidget* parent, const char* name, const QString& caption) : QDialog(parent) {
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
}

void OptionsDialog::layOut(std::initializer_list<QWidget*> groups, const QString& note) {
    // Made after the fields, so that Tab reaches the buttons last.
    cmdButtons =
        Named(new QDialogButtonBox(
                  QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this),
              "cmdButtons");
    connect(cmdButtons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
    connect(cmdButtons, &QDialogButtonBox::rejected, this, &OptionsDialog::reject);
    connect(cmdButtons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &OptionsDialog::restoreDefaults);

    auto* layout = new QVBoxLayout(this);
    for (QWidget* group : groups)
        layout->addWidget(group);
    auto* noteLabel = new QLabel(note, this);
    noteLabel->setWordWrap(true);
    layout->addWidget(noteLabel);
    layout->addWidget(cmdButtons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void OptionsDialog::accept() {
    const QString why = problem();
    if (why.isEmpty()) {
        QDialog::accept();
        return;
    }
    Warn(this, why);
    faultyField()->setFocus();
}

} // namespace pagewick
