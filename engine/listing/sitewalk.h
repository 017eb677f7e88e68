#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

namespace pagewick {

// How far below the folder pages are looked for.
struct WalkOptions {
    WalkOptions(bool walkSubFolders = false, int depth = -1) : recursive(walkSubFolders), maxDepth(depth) {}

    bool recursive = false; // off: the folder's own pages only, exactly as ScanPageFiles lists them
    int maxDepth = -1;      // with recursive: levels of sub-folders walked below the folder; -1: all
    // Fill PageListing::folders. Off by default: the paths of a very deep tree add up to far more
    // than its pages.
    bool listFolders = false;
    // With recursive, called for every folder walked (the folder itself first) while it is open,
    // with its descriptor, which stays the walk's.
    std::function<void(int folderFd)> visitFolder;
    // When set, called with each page as it is found, before the listing is complete (to start
    // reading pages early: see PageReadAhead).
    std::function<void(const QString& page)> pageFound;
    // With recursive: when set, the walk looks at it before each folder and stops once it is true
    // (another thread sets it); the listing is then incomplete.
    const std::atomic<bool>* cancel = nullptr;
};

// A sub-folder that was left out because it could not be opened or listed.
struct SkippedFolder {
    QString name;   // relative to the folder, "/" between the parts
    QString reason; // the system's words ("Permission denied")
};

struct PageListing {
    QStringList pages;            // relative paths ("blog/2025/post.html"), in no particular order
    QStringList folders;          // with listFolders, every folder walked, relative; "" is the folder itself
    QList<SkippedFolder> skipped; // sub-folders that could not be read
};

// The page files of a folder and, with options.recursive, of its sub-folders: at every level the
// same files ScanPageFiles lists, and the non-hidden sub-folders. A folder reached through a link
// is walked too, but no folder twice (so links cannot make the walk loop); where a folder is
// reachable both directly and through a link, the direct path names its pages. Names keep the
// exact bytes on disk (see filename.h). Any depth is walked, with a bounded number of folders held
// open and no recursion.
PageListing WalkPageFiles(const QString& folderText, const WalkOptions& options = {});

} // namespace pagewick
