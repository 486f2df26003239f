#include "recentpages.h"

#include "usersettings.h"

namespace zendral {

namespace {

const QString Key = QStringLiteral("recientes/paginas");

void store(const QStringList &pages)
{
    userSettings()->setValue(Key, pages);
}

} // namespace

QStringList RecentPages::list()
{
    return userSettings()->value(Key).toStringList().mid(0, Limit);
}

void RecentPages::add(const QString &path)
{
    QStringList pages = list();
    pages.removeAll(path);
    pages.prepend(path);
    store(pages.mid(0, Limit));
}

void RecentPages::remove(const QString &path)
{
    QStringList pages = list();
    pages.removeAll(path);
    store(pages);
}

} // namespace zendral
