#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QListView;
class QModelIndex;
class QTreeView;

namespace zendral {

// The panes beside the editor that browse the disk: the volumes `unidades`, the folders
// `carpetas` and the files `archivos`, chained so that each follows the one above it.
class FilePanes : public QWidget
{
    Q_OBJECT

public:
    explicit FilePanes(QWidget *parent = nullptr);

    // The names the file list shows, as patterns joined by ";" ("*.htm;*.gif"). Letter case
    // does not matter to the patterns.
    void setPattern(const QString &pattern);
    // The folder list's path: no trailing separator, but for the root.
    QString folderPath() const { return m_folder; }
    // Makes path the folder list's path; a folder that cannot be read leaves it as it was.
    bool setFolderPath(const QString &path);

signals:
    // A file of the file list was double-clicked: the folder list's path and its name.
    void fileDoubleClicked(const QString &folder, const QString &name);

private:
    void fillVolumes();
    void volumeChosen(int index);
    void folderChosen(const QModelIndex &current);

    QComboBox *m_driveList = nullptr;
    QTreeView *m_folderList = nullptr;
    QListView *m_fileList = nullptr;
    QFileSystemModel *m_folders = nullptr;
    QFileSystemModel *m_files = nullptr;
    QString m_folder;
};

} // namespace zendral
