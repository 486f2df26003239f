#pragma once

#include <QStringList>
#include <QStringView>

namespace zendral {

// The names a page's markup is written with, as the writing aids offer them: all in lower case.

// The elements of today's HTML and the older ones the colouring knows (font, applet, blink…).
const QStringList &elementNames();
// The attributes an element takes: the global ones and its own, the element's first.
QStringList attributesOf(QStringView element);
// The values a browser knows for an attribute of an element when they are a fixed set;
// empty when any value goes.
QStringList valuesOf(QStringView element, QStringView attribute);
// An element that has no closing tag (br, img, input…).
bool isVoidElement(QStringView element);
// An attribute whose value names a file (href, src).
bool namesFile(QStringView attribute);

} // namespace zendral
