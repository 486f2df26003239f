#pragma once

namespace zendral {

// Chromium refuses to start its sandbox as root; only then is the sandbox switched off, and
// the user is told so on standard error. Must run before the QApplication is built.
void relaxWebEngineSandboxForRoot();

} // namespace zendral
