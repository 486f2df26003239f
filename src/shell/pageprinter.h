#pragma once

#include <QString>

class QPrinter;
class QTextDocument;

namespace zendral {

// Prints a page's source as the editor shows it: in its colours, each line with its number,
// every sheet headed by the file's name and the sheet's number.
void printPage(const QTextDocument &source, const QString &fileName, QPrinter &printer);

} // namespace zendral
