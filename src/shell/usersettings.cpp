#include "usersettings.h"

#include <QFileInfo>

namespace zendral {

std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Zendral"), QStringLiteral("Zendral"));
}

QString userWordsFile()
{
    return QFileInfo(userSettings()->fileName()).absolutePath() + QStringLiteral("/palabras.dic");
}

} // namespace zendral
