#pragma once

#include <QString>
#include <QStringList>

namespace zendral {

// The last pages opened or saved, newest first, kept in the user's settings across starts.
class RecentPages
{
public:
    static constexpr int Limit = 10;

    static QStringList list();
    // Puts path first, once, and forgets the oldest beyond the limit.
    static void add(const QString &path);
    static void remove(const QString &path);
};

} // namespace zendral
