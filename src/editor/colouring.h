#pragma once

#include "colour.h"
#include "pagetext.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zendral {

// TablaEtiquetas: the known tag prefixes, each entry a colour-class digit then the prefix in
// capitals, in search order. The last entry is empty: it matches any tag and sets no colour.
QStringList TablaEtiquetas(); // fixed name

// The colour of a class digit; none for anything else (the empty entry).
std::optional<Colour> classColour(QChar classDigit);

// What the whole-text pass paints, and the inside of the last tag it examined.
struct ColouringPlan
{
    std::vector<ColourSpan> spans;
    qint64 lastTagStart = -1;
    qint64 lastTagLength = 0;
};

// Plans the whole-text pass in one sweep: every "<" with a later ">" is a tag whose inside
// takes the colour of its class; scanning goes on after the ">".
ColouringPlan planColours(const QString &text, const QStringList &table);

// Colorea: colours every tag of the text in one batch, leaving the inside of the last tag
// selected. Never changes the text.
void Colorea(PageText &page, const QStringList &table); // fixed name

// Colours the tag closed just before the caret, looking back for the nearest "<" among the
// 65,536 characters before the caret. Returns false when there is none.
bool colourTagBeforeCaret(PageText &page, const QStringList &table);

} // namespace zendral
