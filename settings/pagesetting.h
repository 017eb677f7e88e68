#pragma once

#include "engine/output/pagedetails.h"

#include <QList>
#include <QString>

namespace pagewick {

// What the Page Options dialog sets, remembered between runs in group "Page" of the settings store
// (see store.h). Nothing stored gives the defaults: the built-in page, and entries without details.
struct PageSettings {
    QString templateFile;       // a page template (see PageTemplate); empty: the built-in page
    QString stylesheetUrl;      // a stylesheet linked from the page's head; empty: none
    QList<IndexDetail> details; // what each entry of the index shows after its link

    bool operator==(const PageSettings&) const = default;
};

// The stored page settings. Details that cannot be read as such are left out, so a hand-edited
// store never turns one on by mistake.
PageSettings LoadPageSettings();

// Stores the page settings. Fails as SaveFolderSetting does.
bool SavePageSettings(const PageSettings& settings, QString* error = nullptr);

} // namespace pagewick
