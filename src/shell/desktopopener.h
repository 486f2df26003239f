#pragma once

class QUrl;

namespace zendral {

// The desktop's "open": hands a file or a web address to the program the desktop associates
// with it. Behind an interface so that tests can see what would be opened.
class DesktopOpener
{
public:
    virtual ~DesktopOpener() = default;
    // Whether the desktop took the address is not the caller's concern.
    virtual void open(const QUrl &address) = 0;
};

} // namespace zendral
