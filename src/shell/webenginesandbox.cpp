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
    // The request interceptor refuses every address a page asks for, but peer connections
    // (WebRTC) open their sockets without a request: UDP is switched off for them, and their
    // TCP goes through a proxy that cannot be reached (port 0 refuses at once), loopback
    // included. Nothing else goes out on its own either: no updates, prefetching or pings.
    static const QByteArray Flags("--disable-background-networking --dns-prefetch-disable "
                                  "--no-pings "
                                  "--force-webrtc-ip-handling-policy=disable_non_proxied_udp "
                                  "--proxy-server=http://127.0.0.1:0 "
                                  "--proxy-bypass-list=<-loopback>");
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains(Flags))
        return;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.isEmpty() ? Flags : flags + ' ' + Flags);
}

} // namespace zendral
