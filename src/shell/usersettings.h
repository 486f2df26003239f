#pragma once

#include <QSettings>

#include <memory>

namespace zendral {

// The user's own settings (the view, the recent pages), kept in the user's configuration
// folder across starts.
std::unique_ptr<QSettings> userSettings();
// The file of words the user added to the dictionary, one a line, beside the settings.
QString userWordsFile();

} // namespace zendral
