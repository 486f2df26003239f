#pragma once

#include <QString>

class QPrinter;

namespace zendral {

class PageText;

// Prints a page's source as the editor shows it: in its colours, each line with its number,
// every sheet headed by the file's name and the sheet's number.
void printPage(const PageText &page, const QString &fileName, QPrinter &printer);

} // namespace zendral
