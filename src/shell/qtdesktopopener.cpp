#include "qtdesktopopener.h"

#include <QDesktopServices>
#include <QUrl>

namespace zendral {

void QtDesktopOpener::open(const QUrl &address)
{
    QDesktopServices::openUrl(address);
}

} // namespace zendral
