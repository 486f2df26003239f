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
                          : description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return result;
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
    if (!request.fileName.isEmpty()) {
        const QFileInfo preset(request.fileName);
        dialog.setDirectory(preset.absolutePath());
        dialog.selectFile(preset.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace zendral
