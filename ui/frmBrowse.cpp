#include "ui/frmBrowse.h"

#include "ui/apptitle.h"
#include "ui/controlname.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QTreeView>
#include <algorithm>

namespace pagewick {

// The folder tree of one drive: the file-system model with, at the level of the drive's mount
// point, only the mount point itself. The view is rooted at that level, so the drive's root is a
// folder the user can select like any other.
class MountSubtreeModel : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setMount(const QString& mountRoot) {
        auto* folders = static_cast<QFileSystemModel*>(sourceModel());
        mount = mountRoot;
        const QString parentPath = mountRoot == QLatin1String("/") ? QString() : QFileInfo(mountRoot).path();
        mountParent = parentPath.isEmpty() ? QModelIndex() : folders->index(parentPath);
        invalidateFilter();
    }

    QModelIndex mountParentIndex() const { return mapFromSource(mountParent); }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& sourceParent) const override {
        if (sourceParent != mountParent)
            return true;
        const auto* folders = static_cast<const QFileSystemModel*>(sourceModel());
        return folders->filePath(folders->index(row, 0, sourceParent)) == mount;
    }

private:
    QString mount = QStringLiteral("/");
    QPersistentModelIndex mountParent;
};

namespace {

// File systems that hold no user folders (kernel interfaces, memory-backed scratch space,
// read-only package images); they are left out of the drive list.
bool IsPseudoFileSystem(const QByteArray& type) {
    static const QSet<QByteArray> pseudo = {
        "autofs", "binfmt_misc", "bpf",      "cgroup",          "cgroup2",    "configfs",  "debugfs",
        "devpts", "devtmpfs",    "efivarfs", "fusectl",         "hugetlbfs",  "mqueue",    "nsfs",
        "proc",   "pstore",      "ramfs",    "rpc_pipefs",      "securityfs", "selinuxfs", "squashfs",
        "sysfs",  "tmpfs",       "tracefs",  "fuse.gvfsd-fuse", "fuse.portal"};
    return pseudo.contains(type);
}

QString AbsoluteFolder(const QString& folderText) {
    return QDir::cleanPath(QFileInfo(folderText).absoluteFilePath());
}

} // namespace

frmBrowse::frmBrowse(QWidget* parent)
    : QWidget(parent, Qt::Window), Drive1(Named(new QComboBox(this), "Drive1")),
      Dir1(Named(new QTreeView(this), "Dir1")), cmdOK(Named(new QPushButton(tr("OK"), this), "cmdOK")),
      cmdCancel(Named(new QPushButton(tr("Cancel"), this), "cmdCancel")), folders(new QFileSystemModel(this)),
      driveView(new MountSubtreeModel(this)) {
    setObjectName(QStringLiteral("frmBrowse"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(AppTitle());
    ResizeInTwips(this, 4680, 3195);

    Drive1->setToolTip(tr("Available disks"));
    Drive1->setAccessibleName(Drive1->toolTip());
    PlaceInTwips(Drive1, 120, 120, 2415, 315);

    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    driveView->setSourceModel(folders);
    Dir1->setToolTip(tr("Available folders"));
    Dir1->setAccessibleName(Dir1->toolTip());
    Dir1->setModel(driveView);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < folders->columnCount(); ++column)
        Dir1->hideColumn(column);
    // Deep folders scroll sideways rather than having their names cut short.
    Dir1->header()->setStretchLastSection(false);
    Dir1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    Dir1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    Dir1->setSelectionMode(QAbstractItemView::SingleSelection);
    PlaceInTwips(Dir1, 120, 600, 2415, 2340);

    cmdOK->setToolTip(tr("Confirm the selected folder"));
    cmdOK->setAccessibleName(cmdOK->text());
    cmdOK->setDefault(true);
    PlaceInTwips(cmdOK, 2760, 120, 1455, 375);

    cmdCancel->setToolTip(tr("Cancel the selection of a folder"));
    cmdCancel->setAccessibleName(cmdCancel->text());
    // Enter on a focused Cancel presses Cancel, as it would on any focused button.
    cmdCancel->setAutoDefault(true);
    PlaceInTwips(cmdCancel, 2760, 720, 1455, 375);

    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(Drive1, &QComboBox::currentIndexChanged, this, &frmBrowse::Drive1_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmBrowse::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBrowse::cmdCancel_Click);
    // Folders are read in the background: as the open folder's parents fill in, sibling folders
    // push it down. It is kept in view until the user scrolls or clicks in the tree.
    const auto follow = [this] {
        if (!userMovedTree)
            showOpenFolder();
    };
    connect(driveView, &QAbstractItemModel::rowsInserted, this, follow);
    connect(driveView, &QAbstractItemModel::layoutChanged, this, follow);
    connect(Dir1->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { userMovedTree = true; });
    connect(Dir1->horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { userMovedTree = true; });
    Dir1->viewport()->installEventFilter(this);
    Dir1->installEventFilter(this);
    // Until then the tree is also kept scrolled sideways to the open folder's name, whatever would
    // move it as the folders fill in and the names column widens.
    QScrollBar* sideways = Dir1->horizontalScrollBar();
    const auto keepName = [this] {
        if (!userMovedTree)
            showOpenFolderName();
    };
    connect(sideways, &QScrollBar::valueChanged, this, keepName);
    connect(sideways, &QScrollBar::rangeChanged, this, keepName);

    setDrives(MountedDriveRoots());
    if (!openFolder(AbsoluteFolder(QDir::homePath())))
        openFolder(QStringLiteral("/"));
    Drive1->setFocus();
}

QStringList frmBrowse::MountedDriveRoots() {
    QStringList roots{QStringLiteral("/")};
    const auto volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& volume : volumes) {
        if (!volume.isValid() || !volume.isReady() || IsPseudoFileSystem(volume.fileSystemType()))
            continue;
        // Single files bind-mounted into place (as containers do) are no drives.
        const QString root = volume.rootPath();
        if (QFileInfo(root).isDir() && !roots.contains(root))
            roots.append(root);
    }
    std::sort(roots.begin() + 1, roots.end());
    return roots;
}

QString frmBrowse::MountRootOf(const QString& path, const QStringList& mountRoots) {
    QString best = QStringLiteral("/");
    for (const QString& root : mountRoots) {
        const QString prefix = root.endsWith(u'/') ? root : root + u'/';
        if ((path == root || path.startsWith(prefix)) && root.size() > best.size())
            best = root;
    }
    return best;
}

void frmBrowse::setDrives(const QStringList& mountRoots) {
    const QString folder = currentFolder();
    {
        const QSignalBlocker quiet(Drive1);
        Drive1->clear();
        for (const QString& root : mountRoots)
            Drive1->addItem(QDir::toNativeSeparators(root), root);
    }
    if (!folder.isEmpty())
        openFolder(AbsoluteFolder(QDir::fromNativeSeparators(folder)));
}

void frmBrowse::setFolderText(const QString& folderText) {
    if (folderText.isEmpty())
        return;
    const QString path = AbsoluteFolder(QDir::fromNativeSeparators(folderText));
    if (QFileInfo(path).isDir())
        openFolder(path);
}

// Shows the tree of the drive whose mount point contains path, with path as its open folder.
// The drive list follows quietly, so the tree is not sent back to the drive's root.
bool frmBrowse::openFolder(const QString& path) {
    if (!folders->index(path).isValid())
        return false;
    QStringList roots;
    for (int i = 0; i < Drive1->count(); ++i)
        roots.append(Drive1->itemData(i).toString());
    const QString mountRoot = MountRootOf(path, roots);
    {
        const QSignalBlocker quiet(Drive1);
        Drive1->setCurrentIndex(Drive1->findData(mountRoot));
    }
    showDrive(mountRoot);

    const QModelIndex folder = driveView->mapFromSource(folders->index(path));
    if (!folder.isValid())
        return false;
    Dir1->setCurrentIndex(folder);
    Dir1->expand(folder);
    showOpenFolder();
    return true;
}

// The open folder in the middle of the tree, with its name in view.
void frmBrowse::showOpenFolder() {
    Dir1->scrollTo(Dir1->currentIndex(), QAbstractItemView::PositionAtCenter);
    showOpenFolderName();
}

// Scrolls sideways just far enough for the open folder's name to show whole, so that as much as
// fits of the folders above it shows too; a name wider than the tree shows from its start. (The
// tree's own scrolling goes by the whole width of the names column, which for a deep folder
// leaves its row a blank bar.)
void frmBrowse::showOpenFolderName() {
    QScrollBar* sideways = Dir1->horizontalScrollBar();
    const QModelIndex current = Dir1->currentIndex();
    if (!current.isValid()) {
        sideways->setValue(sideways->minimum());
        return;
    }
    // The row's place, and the name's width (icon and text), where the names column starts at 0.
    const int left = Dir1->visualRect(current).left() + sideways->value();
    const int right = left + Dir1->sizeHintForIndex(current).width();
    const int wanted = std::min(right - Dir1->viewport()->width(), left);
    sideways->setValue(std::max(wanted, sideways->minimum()));
}

void frmBrowse::showDrive(const QString& mountRoot) {
    folders->setRootPath(mountRoot);
    driveView->setMount(mountRoot);
    Dir1->setRootIndex(driveView->mountParentIndex());
}

QString frmBrowse::currentFolder() const {
    const QModelIndex current = Dir1->currentIndex();
    const QString path = current.isValid() ? folders->filePath(driveView->mapToSource(current))
                                           : Drive1->currentData().toString();
    return QDir::toNativeSeparators(path);
}

bool frmBrowse::eventFilter(QObject* watched, QEvent* event) {
    const bool byMouse = watched == Dir1->viewport() &&
                         (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel);
    const bool byKey = watched == Dir1 && event->type() == QEvent::KeyPress;
    if (byMouse || byKey)
        userMovedTree = true;
    return QWidget::eventFilter(watched, event);
}

// The tree has its final size only once on screen.
void frmBrowse::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    showOpenFolder();
}

void frmBrowse::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cmdOK->click();
        break;
    case Qt::Key_Escape:
        cmdCancel->click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void frmBrowse::Drive1_Change() {
    const QString mountRoot = Drive1->currentData().toString();
    showDrive(mountRoot);
    const QModelIndex root = driveView->mapFromSource(folders->index(mountRoot));
    Dir1->setCurrentIndex(root);
    Dir1->expand(root);
    showOpenFolder();
}

void frmBrowse::cmdOK_Click() {
    Q_EMIT folderChosen(currentFolder());
    close();
}

void frmBrowse::cmdCancel_Click() {
    close();
}

} // namespace pagewick
