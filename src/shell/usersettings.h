#pragma once

#include <QSettings>

#include <memory>

namespace zendral {

// The user's own settings (the view, the recent pages), kept in the user's configuration
// folder across starts.
std::unique_ptr<QSettings> userSettings();
// The file of words the user added to the dictionary, one a line, beside the settings.
QString userWordsFile();

// Whether the pages open at the program's end are to be offered at its next start (Ver ›
// Recordar las páginas abiertas).
bool rememberOpenPages();
// The pages open when the program last ended normally, until taken.
void keepOpenPages(const QStringList &pages);
QStringList takeOpenPages();
void forgetOpenPages();

} // namespace zendral
