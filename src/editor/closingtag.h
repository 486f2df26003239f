#pragma once

#include <QStringList>

namespace zendral {

class PageText;
class UndoHistory;

// With "</" just typed before the caret, writes the name of the innermost element still open
// before it, as its opening tag spells it, and the ">" that ends the tag: one step of the
// history, coloured as a typed ">" colours its tag. Nothing is written inside a comment or a
// server block, or where no element is open. Returns whether it wrote.
//
// The open element is looked for in ever longer stretches before the caret, up to Reach
// characters: an element opened further back is not found.
bool closeInnermostTag(PageText &page, UndoHistory &history, const QStringList &table);

inline constexpr qint64 ClosingTagReach = 1 << 20;

} // namespace zendral
