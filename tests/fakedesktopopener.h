#pragma once

#include "desktopopener.h"

#include <QList>
#include <QUrl>

namespace zendral::test {

// Keeps every address the desktop was asked to open, and opens none.
class FakeDesktopOpener : public DesktopOpener
{
public:
    void open(const QUrl &address) override { opened.append(address); }

    QList<QUrl> opened;
};

} // namespace zendral::test
