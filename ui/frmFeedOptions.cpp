#include "ui/frmFeedOptions.h"
#include "engine/output/webaddress.h"

#include "ui/controlname.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace pagewick {

namespace {

// The orders in the order the list offers them.
constexpr PageOrder kOrders[] = {PageOrder::Name, PageOrder::Natural, PageOrder::Date};

QString AddressProblem(const QString& what, const QString& address) {
    if (address.isEmpty() || IsWebAddress(address))
        return {};
    return QCoreApplication::translate(
               "pagewick::frmFeedOptions",
               "The address of the %1 must be an absolute http:// or https:// address; \"%2\" is not.")
        .arg(what, address);
}

} // namespace

frmFeedOptions::frmFeedOptions(QWidget* parent)
    : OptionsDialog(parent, "frmFeedOptions", tr("Feed Options")) {
    auto* rss = new QGroupBox(tr("RSS code"), this);
    chkGuid = Named(new QCheckBox(tr("Give every item a guid (its link)"), rss), "chkGuid");
    txtFeedUrl = Named(new QLineEdit(rss), "txtFeedUrl");
    txtFeedUrl->setPlaceholderText(QStringLiteral("https://example.org/feed.xml"));
    txtFeedUrl->setToolTip(tr("Where the feed will be published; named in the feed as its own address"));
    chkDates = Named(new QCheckBox(tr("Add page dates (also to the sitemap)"), rss), "chkDates");
    chkMetaDescription =
        Named(new QCheckBox(tr("Describe pages by their meta description (also in Atom)"), rss),
              "chkMetaDescription");
    auto* rssForm = new QFormLayout(rss);
    rssForm->addRow(chkGuid);
    rssForm->addRow(tr("Feed address:"), txtFeedUrl);
    rssForm->addRow(chkDates);
    rssForm->addRow(chkMetaDescription);

    auto* atom = new QGroupBox(tr("Atom feed"), this);
    txtAtomFeedUrl = Named(new QLineEdit(atom), "txtAtomFeedUrl");
    txtAtomFeedUrl->setPlaceholderText(QStringLiteral("https://example.org/atom.xml"));
    txtAtomFeedUrl->setToolTip(tr("Where the Atom feed will be published; Save Atom Feed needs it"));
    auto* atomForm = new QFormLayout(atom);
    atomForm->addRow(tr("Feed address:"), txtAtomFeedUrl);

    auto* pages = new QGroupBox(tr("Pages in the feeds"), this);
    cboOrder = Named(new QComboBox(pages), "cboOrder");
    cboOrder->addItems(
        {tr("By name"), tr("By name, numbers as numbers (page2, page10)"), tr("By date, newest first")});
    spnLimit = Named(new QSpinBox(pages), "spnLimit");
    spnLimit->setRange(0, 1000000);
    spnLimit->setSpecialValueText(tr("All pages"));
    spnLimit->setSuffix(tr(" pages"));
    txtExcludes = Named(new QPlainTextEdit(pages), "txtExcludes");
    txtExcludes->setTabChangesFocus(true);
    txtExcludes->setPlaceholderText(QStringLiteral("draft-*"));
    txtExcludes->setToolTip(tr("One pattern a line: * any characters, ? one character, [abc] one of a set; "
                               "letter case is ignored"));
    txtExcludes->setFixedHeight(txtExcludes->fontMetrics().lineSpacing() * 4 + 2 * txtExcludes->frameWidth() +
                                8);
    auto* pagesForm = new QFormLayout(pages);
    pagesForm->addRow(tr("Order:"), cboOrder);
    pagesForm->addRow(tr("At most:"), spnLimit);
    pagesForm->addRow(tr("Leave out:"), txtExcludes);

    layOut({rss, atom, pages}, tr("With every option off, Create XML code builds the plain RSS code."));
}

void frmFeedOptions::setSettings(const FeedSettings& settings) {
    const FeedOptions& options = settings.options;
    chkGuid->setChecked(options.guid);
    txtFeedUrl->setText(options.rssUrl);
    chkDates->setChecked(options.dates);
    chkMetaDescription->setChecked(options.description == FeedDescription::Meta);
    txtAtomFeedUrl->setText(options.atomUrl);
    cboOrder->setCurrentIndex(int(std::find(std::begin(kOrders), std::end(kOrders), options.selection.order) -
                                  std::begin(kOrders)));
    spnLimit->setValue(options.selection.limit);
    txtExcludes->setPlainText(options.selection.excludes.join(u'\n'));
}

FeedSettings frmFeedOptions::settings() const {
    FeedSettings settings;
    FeedOptions& options = settings.options;
    options.guid = chkGuid->isChecked();
    options.rssUrl = txtFeedUrl->text().trimmed();
    options.dates = chkDates->isChecked();
    options.description = chkMetaDescription->isChecked() ? FeedDescription::Meta : FeedDescription::Title;
    options.atomUrl = txtAtomFeedUrl->text().trimmed();
    options.selection.order = kOrders[qBound(0, cboOrder->currentIndex(), int(std::size(kOrders)) - 1)];
    options.selection.limit = spnLimit->value();
    // One pattern a line; the spaces around it are taken for slips of the keyboard.
    for (const QString& line : txtExcludes->toPlainText().split(u'\n')) {
        if (const QString pattern = line.trimmed(); !pattern.isEmpty())
            options.selection.excludes.append(pattern);
    }
    return settings;
}

QString frmFeedOptions::problem() const {
    const FeedSettings chosen = settings();
    if (QString problem = AddressProblem(tr("RSS feed", "the address of the ..."), chosen.options.rssUrl);
        !problem.isEmpty())
        return problem;
    if (QString problem = AddressProblem(tr("Atom feed", "the address of the ..."), chosen.options.atomUrl);
        !problem.isEmpty())
        return problem;
    for (const QString& pattern : chosen.options.selection.excludes) {
        if (!IsValidExcludePattern(pattern))
            return tr("\"%1\" cannot be read as a pattern: a \"[\" needs its \"]\".").arg(pattern);
    }
    return {};
}

QWidget* frmFeedOptions::faultyField() const {
    const FeedSettings chosen = settings();
    if (!AddressProblem(QString(), chosen.options.rssUrl).isEmpty())
        return txtFeedUrl;
    if (!AddressProblem(QString(), chosen.options.atomUrl).isEmpty())
        return txtAtomFeedUrl;
    return txtExcludes;
}

void frmFeedOptions::restoreDefaults() {
    setSettings(FeedSettings());
}

} // namespace pagewick
