#pragma once

#include <QCollator>
#include <QString>
#include <QStringList>

namespace pagewick {

// The collation page names are ordered by: the user's language (language-neutral under the C or
// POSIX locale), letter case ignored; numeric reads runs of digits as numbers ("page2" before
// "page10").
QCollator PageCollator(bool numeric = false);

// The order pages are listed, indexed and fed in, by name; made once (its collation set up in
// the user's language as it is then) for any number of comparisons and sorts.
//
// Names: alphabetical in the user's language (the language-neutral order under the C or POSIX
// locale), letter case ignored, digits read one by one ("page10" before "page2"); names equal but
// for case in a fixed (code point) order. The natural order reads runs of digits as numbers,
// however long ("page2" before "page10", "007" equal to "7"), and the text between them as above;
// names it still holds equal keep the plain order between them.
//
// Relative page paths ("blog/2025/post.html") go part by part, so the pages of one folder stay
// together: the parts at each level are in the name order, a folder takes the place its name has
// among the names beside it, and a page comes before a folder of the same name.
class PageNameOrder {
public:
    explicit PageNameOrder(bool natural = false);

    bool nameLess(const QString& a, const QString& b) const;
    bool pathLess(const QString& a, const QString& b) const;
    void sortNames(QStringList& names) const;
    void sortPaths(QStringList& paths) const;

private:
    bool naturalLess(const QString& a, const QString& b) const;

    bool natural;
    QCollator plain;   // the alphabetical order, and the natural order's last word
    QCollator numeric; // the natural order's text between numbers
};

// The alphabetical order of paths, for a single use.
void SortPagePaths(QStringList& paths);

} // namespace pagewick
