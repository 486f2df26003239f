#pragma once

#include "colour.h"

#include <QString>

#include <optional>

namespace zendral {

class PageText;

// The one insertion of generated fragments, one undo step: the fragment replaces the selection
// in the given colour (none: the insertion colour in force), black is restored, the page's view
// gets the focus, and with a back-off the caret goes that many of the fragment's characters
// before its end, counted as the fragment was written (every line end the page's own).
void InsertTagText(PageText &page, const QString &fragment,
                   std::optional<Colour> colour = std::nullopt,
                   std::optional<qint64> backOff = std::nullopt); // fixed name

// "&nbsp;" in black and bold, the insertion staying as it was afterwards.
void insertNonBreakingSpace(PageText &page);

// A fragment inserted by one click of a tag button or its menu entry.
struct OneClickTag
{
    QString fragment;
    std::optional<Colour> colour = std::nullopt;
    std::optional<qint64> backOff = std::nullopt;
    // The pair that wraps a selection instead, when the fragment is such a pair.
    QString opening = {};
    QString closing = {};
};

// One click of a tag's button or menu entry: a pair tag wraps the selection, if any, keeping
// the wrapped text selected; otherwise the fragment goes in as InsertTagText puts it.
void insertOneClickTag(PageText &page, const OneClickTag &tag);

} // namespace zendral
