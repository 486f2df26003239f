#include "filepanes.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
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

} // namespace

FilePanes::FilePanes(QWidget *parent) : QWidget(parent)
{
    m_unidades = new QComboBox;
    m_unidades->setObjectName(QStringLiteral("unidades"));

    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folders->setRootPath(QDir::rootPath());
    m_carpetas = new QTreeView;
    m_carpetas->setObjectName(QStringLiteral("carpetas"));
    m_carpetas->setModel(m_folders);
    m_carpetas->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        m_carpetas->hideColumn(column);
    m_carpetas->setFixedHeight(200);

    m_files = new QFileSystemModel(this);
    m_files->setFilter(QDir::Files | QDir::NoDotAndDotDot);
    m_files->setNameFilterDisables(false);
    m_archivos = new QListView;
    m_archivos->setObjectName(QStringLiteral("archivos"));
    m_archivos->setModel(m_files);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_unidades);
    layout->addWidget(m_carpetas);
    layout->addWidget(m_archivos, 1);
    setFixedWidth(220);

    connect(m_carpetas->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FilePanes::folderChosen);
    // A folder opens to show its own when clicked; the arrow keys only pass it.
    connect(m_carpetas, &QAbstractItemView::clicked, m_carpetas, &QTreeView::expand);
    // Folders are read in the background: the current one is brought into view once its
    // parents are there.
    connect(m_folders, &QFileSystemModel::directoryLoaded, this, [this] {
        // The view lays out the new rows on its next turn; scroll after that.
        QTimer::singleShot(0, m_carpetas, [this] {
            m_carpetas->scrollTo(m_carpetas->currentIndex(), QAbstractItemView::PositionAtCenter);
        });
    });
    connect(m_archivos, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        emit fileDoubleClicked(m_folder, m_files->fileName(index));
    });

    fillVolumes();
    setFolderPath(QDir::homePath());
    const QString volume = QStorageInfo(m_folder).rootPath();
    {
        const QSignalBlocker blocker(m_unidades);
        m_unidades->setCurrentIndex(std::max(0, m_unidades->findData(volume)));
    }
    connect(m_unidades, &QComboBox::currentIndexChanged, this, &FilePanes::volumeChosen);
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
        m_unidades->addItem(QDir::toNativeSeparators(root), root);
}

void FilePanes::volumeChosen(int index)
{
    setFolderPath(m_unidades->itemData(index).toString());
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
        m_carpetas->expand(parent);
    m_carpetas->expand(index);
    m_carpetas->setCurrentIndex(index);
    m_carpetas->scrollTo(index);
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
    m_archivos->setRootIndex(m_files->setRootPath(m_folder));
}

} // namespace zendral
