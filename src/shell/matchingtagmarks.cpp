#include "matchingtagmarks.h"

#include "editingsurface.h"
#include "tagmatch.h"

#include <algorithm>

namespace zendral {

namespace {

// A light green apart from the find marks' yellow and the caret line's colour.
const QColor PairColour(190, 235, 190);

} // namespace

MatchingTagMarks::MatchingTagMarks(EditingSurface &view, QObject *parent)
    : QObject(parent), m_view(view), m_page(view.page())
{
    connect(&view, &QPlainTextEdit::cursorPositionChanged, this, &MatchingTagMarks::caretMoved);
    connect(&view.page(), &PageText::changed, this, &MatchingTagMarks::caretMoved);
    connect(&view.page(), &PageText::textEdited, this, &MatchingTagMarks::followEdit);
}

bool MatchingTagMarks::maybeInName() const
{
    // One copy of the few characters before the caret: this runs on every keystroke.
    const qint64 caret = m_page.selectionStart();
    const qint64 from = std::max<qint64>(0, caret - LongestName - 2);
    const QString before = m_page.textRange(from, caret - from);
    return tagNameEndingAt(before, before.size()).has_value();
}

void MatchingTagMarks::caretMoved()
{
    // Most moves are nowhere near a tag's name: a glance at the characters before the caret
    // settles them without reading the page.
    if ((!m_shown && !maybeInName()) || m_scheduled)
        return;
    // After the keystroke is on screen.
    m_scheduled = true;
    QMetaObject::invokeMethod(this, &MatchingTagMarks::mark, Qt::QueuedConnection);
}

QString MatchingTagMarks::openingNameEndingAtCaret(bool *nameless) const
{
    const qint64 caret = m_page.selectionStart();
    const qint64 from = std::max<qint64>(0, caret - LongestName - 2);
    const QString around = m_page.textRange(from, std::min(m_page.textLength(), caret + 1) - from);
    const qsizetype end = caret - from;
    const QChar next = end < around.size() ? around.at(end) : QChar();
    // A "<" or "</" just typed, with no name yet: the "/" after a "<" may begin a closing
    // tag's name.
    *nameless = (end == 0 || !isTagNameCharacter(around.at(end - 1))) &&
                !isTagNameCharacter(next) && next != u'/';
    const std::optional<TagName> tag = tagNameEndingAt(around, end);
    if (isTagNameCharacter(next) || !tag || tag->closing || tag->nameLength == 0)
        return {};
    return around.mid(tag->nameStart, tag->nameLength);
}

QSet<QString> MatchingTagMarks::closingNamesIn(QStringView after)
{
    QSet<QString> names;
    for (const TagName &name : closingTagNamesIn(after)) {
        const qint64 start = name.nameStart;
        const qint64 end = start + name.nameLength;
        names.insert(foldedTagName(after.mid(start, end - start)));
        // A nearer reach that ends inside the name reads it cut short.
        for (const qint64 reach : {Reach / 64, Reach / 8}) {
            if (reach > start && reach < end)
                names.insert(foldedTagName(after.mid(start, reach - start)));
        }
    }
    return names;
}

void MatchingTagMarks::followEdit(qint64 start, qint64 removed, qint64 added)
{
    if (m_failedAt < 0)
        return;
    if (start + removed <= m_failedAt) {
        m_failedAt += added - removed;
    } else {
        m_failedAt = -1;
        m_unpairedNames.clear();
        m_closingNames.clear();
    }
}

std::optional<TagPair> MatchingTagMarks::pairAtCaret()
{
    const qint64 caret = m_page.selectionStart();
    bool nameless = false;
    const QString typed = openingNameEndingAtCaret(&nameless);
    if (nameless)
        return std::nullopt;
    // An opening tag's pair is a closing tag of its name after it.
    if (!typed.isEmpty() && caret == m_failedAt &&
        (m_unpairedNames.contains(typed) || !m_closingNames.contains(foldedTagName(typed))))
        return std::nullopt;
    bool unpaired = !typed.isEmpty();
    QString text;
    qint64 from = 0;
    // Most pairs are near: the farther reaches are read only when the nearer ones hold none.
    for (const qint64 reach : {Reach / 64, Reach / 8, Reach}) {
        from = std::max<qint64>(0, caret - reach);
        const qint64 to = std::min(m_page.textLength(), caret + reach);
        text = m_page.textRange(from, to - from);
        bool unpairedHere = false;
        std::optional<TagPair> pair = matchingTag(text, caret - from, &unpairedHere);
        // A reach in which the tag is not one (a comment or script begun before it) says
        // nothing of what follows the tag.
        unpaired = unpaired && unpairedHere;
        if (pair) {
            for (TagName *name : {&pair->current, &pair->partner}) {
                name->tagStart += from;
                name->nameStart += from;
            }
            return pair;
        }
        if (from == 0 && to == m_page.textLength())
            break;
    }
    if (typed.isEmpty())
        return std::nullopt;
    if (m_failedAt != caret) {
        m_failedAt = caret;
        m_unpairedNames.clear();
        m_closingNames = closingNamesIn(QStringView(text).mid(caret - from));
    }
    if (unpaired) {
        // A few names are enough for the prefixes of the one being typed.
        if (m_unpairedNames.size() == 8)
            m_unpairedNames.removeFirst();
        m_unpairedNames.append(typed);
    }
    return std::nullopt;
}

void MatchingTagMarks::mark()
{
    m_scheduled = false;
    QList<QTextEdit::ExtraSelection> marks;
    if (const std::optional<TagPair> pair = maybeInName() ? pairAtCaret() : std::nullopt) {
        QTextCharFormat format;
        format.setBackground(PairColour);
        for (const TagName &name : {pair->current, pair->partner}) {
            marks.append(
                {m_page.cursorOver(name.tagStart, name.nameStart + name.nameLength), format});
        }
    }
    m_shown = !marks.isEmpty();
    m_view.setHighlights(EditingSurface::HighlightLayer::MatchingTag, marks);
}

void MatchingTagMarks::goToPair()
{
    if (const std::optional<TagPair> pair = maybeInName() ? pairAtCaret() : std::nullopt) {
        m_page.setSelectionStart(pair->partner.nameStart);
        m_view.ensureCursorVisible();
    }
}

} // namespace zendral
