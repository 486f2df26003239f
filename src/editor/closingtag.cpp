#include "closingtag.h"

#include "colouring.h"
#include "pagetext.h"
#include "tagmatch.h"
#include "undohistory.h"

#include <algorithm>

namespace zendral {

bool closeInnermostTag(PageText &page, UndoHistory &history, const QStringList &table)
{
    const qint64 caret = page.selectionStart();
    if (page.selectionLength() != 0 || caret < 2 || page.characterAt(caret - 1) != u'/' ||
        page.characterAt(caret - 2) != u'<')
        return false;
    const qint64 end = caret - 2;
    // An element left open within a nearer stretch is open in the whole text too: only the
    // closing tags after it can close it, and they are all in the stretch.
    for (const qint64 reach : {ClosingTagReach / 256, ClosingTagReach / 16, ClosingTagReach}) {
        const qint64 from = std::max<qint64>(0, end - reach);
        const QString before = page.textRange(from, end - from);
        const MarkupState state = markupBefore(before);
        if (state.place != MarkupPlace::Text && state.place != MarkupPlace::ScriptOrStyle)
            return false;
        if (state.innermostOpen) {
            const TagName &open = *state.innermostOpen;
            auto command = std::make_unique<TextCmd>();
            command->Initialize(page, before.mid(open.nameStart, open.nameLength) + u'>');
            history.AgregarComando(std::move(command));
            colourTagBeforeCaret(page, table);
            return true;
        }
        if (from == 0)
            break;
    }
    return false;
}

} // namespace zendral
