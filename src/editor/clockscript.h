#pragma once

#include <QString>

namespace zendral {

class PageText;
class Prompts;

// The live clock: a span and a script that writes the time into it every second (12-hour
// time, 12:00 to 12:59 being PM), with a line break before and after it. It runs wherever
// the browser has layers, document.all or document.getElementById.
QString clockScript();

// Puts the live clock in place of the selection, in the insertion colour in force, moves the
// caret to the end of the document and tells the user how to start the clock from <body>.
void insertClockScript(PageText &page, Prompts &prompts);

} // namespace zendral
