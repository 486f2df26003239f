#include "taginsertion.h"

#include "pagetext.h"
#include "undostep.h"

#include <algorithm>

namespace zendral {

namespace {

// How many characters text takes once written into page: each of its line ends becomes the
// page's own.
qint64 writtenLength(const PageText &page, QStringView text)
{
    const qint64 lineEnd = PageText::lineEndText(page.pageLineEnd()).size();
    qint64 length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            i += c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n';
            length += lineEnd;
        } else {
            ++length;
        }
    }
    return length;
}

} // namespace

void InsertTagText(PageText &page, const QString &fragment, std::optional<Colour> colour,
                   std::optional<qint64> backOff)
{
    UndoStep step(page);
    if (colour)
        page.setInsertionColour(*colour);
    page.setSelectedText(fragment);
    if (colour)
        page.setInsertionColour(colours::Black);
    page.focus();
    if (backOff && *backOff > 0) {
        const qint64 tail = std::min<qint64>(*backOff, fragment.size());
        page.setSelectionStart(page.selectionStart() -
                               writtenLength(page, QStringView(fragment).right(tail)));
    }
}

void insertOneClickTag(PageText &page, const OneClickTag &tag)
{
    const qint64 length = page.selectionLength();
    if (tag.opening.isEmpty() || length == 0) {
        InsertTagText(page, tag.fragment, tag.colour, tag.backOff);
        return;
    }
    UndoStep step(page);
    PageText::Operation operation(page);
    const qint64 start = page.selectionStart();
    const Colour insertion = page.insertionColour();
    if (tag.colour)
        page.setInsertionColour(*tag.colour);
    // The closing tag first, so that the selection's start stays where it is.
    page.setSelectionStart(start + length);
    page.setSelectedText(tag.closing);
    page.setSelectionStart(start);
    page.setSelectedText(tag.opening);
    page.setInsertionColour(tag.colour ? colours::Black : insertion);
    page.focus();
    page.setSelectionStart(start + tag.opening.size());
    page.setSelectionLength(length);
}

void insertNonBreakingSpace(PageText &page)
{
    UndoStep step(page);
    page.setInsertionColour(colours::Black);
    page.setInsertionBold(true);
    page.setSelectedText(QStringLiteral("&nbsp;"));
    page.setInsertionBold(false);
    page.focus();
}

} // namespace zendral
