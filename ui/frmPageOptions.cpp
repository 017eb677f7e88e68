#include "ui/frmPageOptions.h"

#include "engine/output/pagetemplate.h"
#include "ui/apptitle.h"
#include "ui/controlname.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pagewick {

frmPageOptions::frmPageOptions(QWidget* parent)
    : OptionsDialog(parent, "frmPageOptions", tr("Page Options")) {
    auto* page = new QGroupBox(tr("Saved page"), this);
    txtTemplate = Named(new QLineEdit(page), "txtTemplate");
    txtTemplate->setPlaceholderText(tr("The built-in page"));
    txtTemplate->setToolTip(
        tr("An HTML file of yours with {{index}} where the index goes; {{title}}, {{updated}} "
           "and {{count}} are filled in too"));
    txtTemplate->setAccessibleName(tr("Template file"));
    cmdBrowseTemplate = Named(new QPushButton(tr("Browse..."), page), "cmdBrowseTemplate");
    connect(cmdBrowseTemplate, &QPushButton::clicked, this, &frmPageOptions::cmdBrowseTemplate_Click);
    auto* templateRow = new QHBoxLayout;
    templateRow->addWidget(txtTemplate, 1);
    templateRow->addWidget(cmdBrowseTemplate);
    txtStylesheet = Named(new QLineEdit(page), "txtStylesheet");
    txtStylesheet->setPlaceholderText(QStringLiteral("https://example.org/style.css"));
    txtStylesheet->setToolTip(tr("A stylesheet the page links to in its head"));
    txtStylesheet->setAccessibleName(tr("Stylesheet address"));
    auto* pageForm = new QFormLayout(page);
    pageForm->addRow(tr("Template file:"), templateRow);
    pageForm->addRow(tr("Stylesheet address:"), txtStylesheet);

    auto* entries = new QGroupBox(tr("After each page's link"), this);
    chkDate = Named(new QCheckBox(tr("Its date"), entries), "chkDate");
    chkSize = Named(new QCheckBox(tr("Its size"), entries), "chkSize");
    chkDescription = Named(new QCheckBox(tr("Its meta description"), entries), "chkDescription");
    auto* entriesLayout = new QVBoxLayout(entries);
    entriesLayout->addWidget(chkDate);
    entriesLayout->addWidget(chkSize);
    entriesLayout->addWidget(chkDescription);

    // Wide enough for a path; the note wraps to the width of the groups.
    txtTemplate->setMinimumWidth(txtTemplate->fontMetrics().averageCharWidth() * 44);
    layOut({page, entries}, tr("Save HTML file uses the template or the stylesheet; the details "
                               "show from the next Create HTML. With every option empty, the page "
                               "is the plain one."));
}

void frmPageOptions::setSettings(const PageSettings& settings) {
    txtTemplate->setText(settings.templateFile);
    txtStylesheet->setText(settings.stylesheetUrl);
    chkDate->setChecked(settings.details.contains(IndexDetail::Date));
    chkSize->setChecked(settings.details.contains(IndexDetail::Size));
    chkDescription->setChecked(settings.details.contains(IndexDetail::Description));
    shownOrder = settings.details;
}

PageSettings frmPageOptions::settings() const {
    PageSettings settings;
    settings.templateFile = txtTemplate->text().trimmed();
    settings.stylesheetUrl = txtStylesheet->text().trimmed();
    const std::pair<IndexDetail, const QCheckBox*> boxes[] = {{IndexDetail::Date, chkDate},
                                                              {IndexDetail::Size, chkSize},
                                                              {IndexDetail::Description, chkDescription}};
    const auto checked = [&boxes](IndexDetail detail) {
        for (const auto& [d, box] : boxes) {
            if (d == detail)
                return box->isChecked();
        }
        return false;
    };
    // Details kept keep the order they had; new ones follow in the order shown.
    for (const IndexDetail detail : shownOrder) {
        if (checked(detail))
            settings.details.append(detail);
    }
    for (const auto& [detail, box] : boxes) {
        if (box->isChecked() && !settings.details.contains(detail))
            settings.details.append(detail);
    }
    return settings;
}

QString frmPageOptions::problem() const {
    const PageSettings chosen = settings();
    if (chosen.templateFile.isEmpty())
        return {};
    QString why;
    if (!LoadPageTemplate(chosen.templateFile, QString(), &why))
        return tr("Pagewick cannot use this template: %1.").arg(why);
    return {};
}

QWidget* frmPageOptions::faultyField() const {
    return txtTemplate;
}

void frmPageOptions::cmdBrowseTemplate_Click() {
    QFileDialog dialog(this, tr("Page Template"));
    dialog.setObjectName(QStringLiteral("cdlTemplate"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({tr("HTML files (*.htm *.html)"), tr("All files (*)")});
    const QString current = txtTemplate->text().trimmed();
    if (!current.isEmpty()) {
        dialog.setDirectory(QFileInfo(current).absolutePath());
        dialog.selectFile(QFileInfo(current).fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    txtTemplate->setText(dialog.selectedFiles().first());
}

void frmPageOptions::restoreDefaults() {
    setSettings(PageSettings());
}

} // namespace pagewick
