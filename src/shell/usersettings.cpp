#include "usersettings.h"

#include "commandtable.h"

#include <QFileInfo>

namespace zendral {

namespace {
const QString OpenPagesKey = QStringLiteral("sesion/paginas");
} // namespace

std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Zendral"), QStringLiteral("Zendral"));
}

QString userWordsFile()
{
    return QFileInfo(userSettings()->fileName()).absolutePath() + QStringLiteral("/palabras.dic");
}

bool rememberOpenPages()
{
    // The switch's own key and default, as Ver keeps them.
    const CommandSpec &remember = commandSpec(Command::RememberSession);
    return userSettings()->value(remember.setting, remember.onByDefault).toBool();
}

void keepOpenPages(const QStringList &pages)
{
    if (pages.isEmpty())
        forgetOpenPages();
    else
        userSettings()->setValue(OpenPagesKey, pages);
}

QStringList takeOpenPages()
{
    const std::unique_ptr<QSettings> settings = userSettings();
    const QStringList pages = settings->value(OpenPagesKey).toStringList();
    // Offered once: a start that ends badly does not offer them again.
    settings->remove(OpenPagesKey);
    return pages;
}

void forgetOpenPages()
{
    userSettings()->remove(OpenPagesKey);
}

} // namespace zendral
