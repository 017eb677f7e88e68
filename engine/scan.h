#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace pagewick {

// The page files of a folder: regular, non-hidden files whose names match "*.htm*" in any letter
// case, as bare names in listing order. A folder that cannot be listed gives an empty list.
QStringList ScanPageFiles(const QString& folderText);

// The order pages are listed, indexed and fed in: alphabetical in the user's language (the
// language-neutral order under the C or POSIX locale), letter case ignored, digits read one by one
// ("page10" before "page2"); names equal but for case in a fixed (code point) order.
bool PageNameLess(const QString& a, const QString& b);
void SortPageNames(QStringList& names);

// The collation page names are ordered by: the user's language (language-neutral under the C or
// POSIX locale), letter case ignored; numeric reads runs of digits as numbers ("page2" before
// "page10").
QCollator PageCollator(bool numeric = false);

} // namespace pagewick
