#include "webenginesandbox.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <unistd.h>

namespace zendral {

void relaxWebEngineSandboxForRoot()
{
    if (geteuid() != 0)
        return;
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArray("1"));
    std::fputs("zendral: running as root, the web preview's sandbox is switched off\n", stderr);
}

void sealWebEngineNetwork()
{
    static const QByteArray Flags("--disable-background-networking --dns-prefetch-disable "
                                  "--no-pings");
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains(Flags))
        return;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.isEmpty() ? Flags : flags + ' ' + Flags);
}

} // namespace zendral
