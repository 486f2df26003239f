#include "filechooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace zendral {

QStringList QtFileChooser::nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts.at(i);
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        // Qt reads the patterns from the parentheses; keep the description when it has them.
        result.append(description.contains(u'(')
                          ? description
                          : description + QStringLiteral(" (") + patterns + u')');
    }
    return result;
}

QString QtFileChooser::defaultSuffix(const QString &nameFilter)
{
    const qsizetype open = nameFilter.lastIndexOf(u'(');
    const qsizetype close = nameFilter.indexOf(u')', open + 1);
    if (open < 0 || close < 0)
        return QString();
    const QString first =
        nameFilter.mid(open + 1, close - open - 1).split(u' ', Qt::SkipEmptyParts).value(0);
    if (!first.startsWith(QStringLiteral("*.")))
        return QString();
    const QString suffix = first.mid(2);
    return suffix.contains(u'*') || suffix.contains(u'?') ? QString() : suffix;
}

QString QtFileChooser::choose(const FileRequest &request)
{
    QFileDialog dialog(m_parent, request.title);
    const bool save = request.mode == FileRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = nameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (save) {
        // A name without an extension would not be listed by the file pane nor previewed as
        // a page: it takes the one of the filter in force.
        dialog.setDefaultSuffix(defaultSuffix(dialog.selectedNameFilter()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString &nameFilter) {
                             dialog.setDefaultSuffix(defaultSuffix(nameFilter));
                         });
    }
    if (!request.fileName.isEmpty()) {
        const QFileInfo preset(request.fileName);
        dialog.setDirectory(preset.absolutePath());
        dialog.selectFile(preset.fileName());
    } else if (!request.folder.isEmpty()) {
        dialog.setDirectory(request.folder);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace zendral
