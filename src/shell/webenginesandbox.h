#pragma once

namespace zendral {

// Chromium refuses to start its sandbox as root; only then is the sandbox switched off, and
// the user is told so on standard error. Must run before the QApplication is built.
void relaxWebEngineSandboxForRoot();

// Keeps the preview's browser off the network where no request interceptor can: peer
// connections, updates, prefetching, name lookups ahead of time. Must run before the first
// web profile is made.
void sealWebEngineNetwork();

} // namespace zendral
