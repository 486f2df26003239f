#include "usersettings.h"

namespace zendral {

std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Zendral"), QStringLiteral("Zendral"));
}

} // namespace zendral
