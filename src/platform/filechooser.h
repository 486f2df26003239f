#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zendral {

// What a file dialog is asked for. Filters are "description|pattern|description|pattern…".
struct FileRequest
{
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString filter;
    int filterIndex = 1; // 1-based, as the filter string counts its entries
    QString fileName;    // preset path
    QString folder;      // where the dialog starts when no path is preset
    bool confirmOverwrite = false;
};

// Shows file dialogs. Returns the chosen path, or an empty string when the user cancels.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    virtual QString choose(const FileRequest &request) = 0;
};

// Qt's file dialog. Open insists on an existing file; both modes on an existing folder. Save
// gives a name typed without an extension the extension of the chosen filter.
class QtFileChooser : public FileChooser
{
public:
    explicit QtFileChooser(QWidget *parent) : m_parent(parent) {}
    QString choose(const FileRequest &request) override;

    // "Archivos HTML (*.html)|*.html|…" as Qt's name filters ("Archivos HTML (*.html)", …).
    static QStringList nameFilters(const QString &filter);
    // The extension a Qt name filter's first pattern names ("html" for "… (*.html)"), or an
    // empty string when that pattern names none.
    static QString defaultSuffix(const QString &nameFilter);

private:
    QWidget *m_parent;
};

} // namespace zendral
