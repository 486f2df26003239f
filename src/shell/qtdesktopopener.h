#pragma once

#include "desktopopener.h"

namespace zendral {

// The desktop's own opener. Qt starts the associated program without a shell, so no
// command line is ever built from a path.
class QtDesktopOpener : public DesktopOpener
{
public:
    void open(const QUrl &address) override;
};

} // namespace zendral
