#include "filepanes.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace zendral {

namespace {

bool readableFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

// A folder's icon and a file's icon, from the style. The models' default provider works out
// every changed file's type from its name and contents, which in a busy folder (a build
// writing beside the page) cost more than the typing itself. The icons are made once, in the
// window's thread: the models ask from their own threads too.
class PlainIcons : public QAbstractFileIconProvider
{
public:
    QIcon icon(IconType type) const override { return type == Folder ? m_folder : m_file; }
    QIcon icon(const QFileInfo &info) const override { return info.isDir() ? m_folder : m_file; }
    QString type(const QFileInfo &info) const override
    {
        return info.isDir() ? QStringLiteral("Carpeta") : QStringLiteral("Archivo");
    }

private:
    const QIcon m_folder = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon m_file = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
};

// Outlives every model that asks it, from the models' own threads too, and is never destroyed:
// its icons must not outlive the application object that their pixmaps need.
PlainIcons *plainIcons()
{
    static PlainIcons *const icons = new PlainIcons;
    return icons;
}

} // namespace

FilePanes::FilePanes(QWidget *parent) : QWidget(parent)
{
    m_driveList = new QComboBox;
    m_driveList->setObjectName(QStringLiteral("unidades"));

    m_folders = new QFileSystemModel(this);
    m_folders->setIconProvider(plainIcons());
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folders->setRootPath(QDir::rootPath());
    m_folderList = new QTreeView;
    m_folderList->setObjectName(QStringLiteral("carpetas"));
    m_folderList->setModel(m_folders);
    m_folderList->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        m_folderList->hideColumn(column);
    m_folderList->setFixedHeight(200);

    m_files = new QFileSystemModel(this);
    m_files->setIconProvider(plainIcons());
    m_files->setFilter(QDir::Files | QDir::NoDotAndDotDot);
    m_files->setNameFilterDisables(false);
    m_fileList = new QListView;
    m_fileList->setObjectName(QStringLiteral("archivos"));
    m_fileList->setModel(m_files);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_driveList);
    layout->addWidget(m_folderList);
    layout->addWidget(m_fileList, 1);
    setFixedWidth(220);

    connect(m_folderList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FilePanes::folderChosen);
    // A folder opens to show its own when clicked; the arrow keys only pass it.
    connect(m_folderList, &QAbstractItemView::clicked, m_folderList, &QTreeView::expand);
    // Folders are read in the background: the current one is brought into view once its
    // parents are there.
    connect(m_folders, &QFileSystemModel::directoryLoaded, this, [this] {
        // The view lays out the new rows on its next turn; scroll after that.
        QTimer::singleShot(0, m_folderList, [this] {
            m_folderList->scrollTo(m_folderList->currentIndex(),
                                   QAbstractItemView::PositionAtCenter);
        });
    });
    connect(m_fileList, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        emit fileDoubleClicked(m_folder, m_files->fileName(index));
    });

    fillVolumes();
    setFolderPath(QDir::homePath());
    const QString volume = QStorageInfo(m_folder).rootPath();
    {
        const QSignalBlocker blocker(m_driveList);
        m_driveList->setCurrentIndex(std::max(0, m_driveList->findData(volume)));
    }
    connect(m_driveList, &QComboBox::currentIndexChanged, this, &FilePanes::volumeChosen);
}

void FilePanes::fillVolumes()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        // Volumes that are not ready are left out, as are files mounted on their own.
        if (volume.isValid() && volume.isReady() && readableFolder(volume.rootPath()))
            roots.append(volume.rootPath());
    }
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end(), [](const QString &a, const QString &b) {
        if (a == QDir::rootPath() || b == QDir::rootPath())
            return a == QDir::rootPath() && b != QDir::rootPath();
        return a < b;
    });
    for (const QString &root : roots)
        m_driveList->addItem(QDir::toNativeSeparators(root), root);
}

void FilePanes::volumeChosen(int index)
{
    setFolderPath(m_driveList->itemData(index).toString());
}

void FilePanes::setPattern(const QString &pattern)
{
    m_files->setNameFilters(pattern.split(u';', Qt::SkipEmptyParts));
}

bool FilePanes::setFolderPath(const QString &path)
{
    if (!readableFolder(path))
        return false;
    const QModelIndex index = m_folders->index(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (!index.isValid())
        return false;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        m_folderList->expand(parent);
    m_folderList->expand(index);
    m_folderList->setCurrentIndex(index);
    m_folderList->scrollTo(index);
    // The list does not report a change to the folder it is already on.
    folderChosen(index);
    return true;
}

void FilePanes::folderChosen(const QModelIndex &current)
{
    if (!current.isValid())
        return;
    const QString path = m_folders->filePath(current);
    if (!readableFolder(path) || path == m_folder)
        return;
    m_folder = path;
    m_fileList->setRootIndex(m_files->setRootPath(m_folder));
}

} // namespace zendral
