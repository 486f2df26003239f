#include "undohistory.h"

#include "pagetext.h"

#include <QHash>

#include <algorithm>

namespace zendral {

namespace {

QHash<const PageText *, UndoHistory *> &attached()
{
    static QHash<const PageText *, UndoHistory *> histories;
    return histories;
}

// Where an older command's edit lay against an undone command's place when it was undone.
// Its redo lies the same way, so that the pair cancels out even where positions alone could
// not tell the sides apart (an edit that left nothing behind, at the very edge of the place).
enum class Side {
    Before,
    Inside,
    After,
    // Its characters followed the undone command's empty place at once: that place stands
    // just before them and is lost if they never come back.
    Anchor,
};

struct Pending
{
    quint64 serial;
    Side side;
};

} // namespace

UndoHistory::~UndoHistory()
{
    if (m_page)
        attached().remove(m_page);
}

void UndoHistory::attach(PageText &page)
{
    if (m_page)
        attached().remove(m_page);
    m_page = &page;
    attached().insert(&page, this);
}

UndoHistory *UndoHistory::of(const PageText &page)
{
    return attached().value(&page);
}

void UndoHistory::openStep(qint64 from, qint64 length)
{
    if (!m_page)
        return;
    const qint64 total = m_page->textLength();
    from = std::clamp<qint64>(from, 0, total);
    const qint64 to = std::clamp<qint64>(from + length, from, total);
    if (m_step.depth++ > 0) {
        reachStep(from, to);
        return;
    }
    m_step.from = from;
    m_step.end = to;
    m_step.original = m_page->textRange(from, to - from);
    m_step.lost = false;
    m_step.selectionStart = m_page->selectionStart();
    m_step.selectionLength = m_page->selectionLength();
    m_step.edits.clear();
}

void UndoHistory::reachStep(qint64 from, qint64 to)
{
    if (m_step.lost)
        return;
    if (from < m_step.from) {
        m_step.original.prepend(m_page->textRange(from, m_step.from - from));
        m_step.from = from;
    }
    if (to > m_step.end) {
        m_step.original.append(m_page->textRange(m_step.end, to - m_step.end));
        m_step.end = to;
    }
}

bool UndoHistory::stepEdit(qint64 start, qint64 removed, qint64 added)
{
    const qint64 shift = added - removed;
    if (start >= m_step.from && start + removed <= m_step.end) {
        m_step.end += shift;
        return true;
    }
    if (removed > 0)
        return false;
    // Inserted beside the stretch (the text a drop moves lands away from where it was taken):
    // the characters between stand where they stood, past the insertion.
    if (start > m_step.end) {
        m_step.original.append(m_page->textRange(m_step.end, start - m_step.end));
        m_step.end = start + added;
    } else {
        m_step.original.prepend(m_page->textRange(start + added, m_step.from - start));
        m_step.from = start;
        m_step.end += added;
    }
    return true;
}

void UndoHistory::closeStep()
{
    if (m_step.depth == 0 || --m_step.depth > 0)
        return;
    std::vector<Edit> edits = std::exchange(m_step.edits, {});
    const QString original = std::exchange(m_step.original, QString());
    if (m_step.lost || edits.empty()) {
        for (const Edit &edit : edits)
            noteForeign(edit.start, edit.removed, edit.added);
        return;
    }
    const PageText &page = *m_page;
    const qint64 from = m_step.from;
    const qint64 oldEnd = from + original.size();
    const qint64 shift = m_step.end - oldEnd;
    const qint64 newTotal = page.textLength();
    const qint64 oldTotal = newTotal - shift;
    const QString now = page.textRange(from, m_step.end - from);
    // The text before the step, character by character: past the stretch it stands shifted.
    const auto oldAt = [&](qint64 at) {
        return at < from     ? page.characterAt(at)
               : at < oldEnd ? original.at(at - from)
                             : page.characterAt(at + shift);
    };
    const auto oldRange = [&](qint64 start, qint64 end) {
        QString result;
        if (start < from)
            result += page.textRange(start, std::min(end, from) - start);
        const qint64 inFrom = std::max(start, from);
        const qint64 inTo = std::min(end, oldEnd);
        if (inTo > inFrom)
            result += QStringView(original).mid(inFrom - from, inTo - inFrom);
        if (end > oldEnd)
            result +=
                page.textRange(std::max(start, oldEnd) + shift, end - std::max(start, oldEnd));
        return result;
    };
    // The command is what lies between what the whole text before and after the step have in
    // common at its start and at its end, so that where it lies does not depend on how much
    // the step named: characters of the text left as they were stay other commands' own.
    const qsizetype shortest = std::min(original.size(), now.size());
    qint64 prefix =
        std::mismatch(original.cbegin(), original.cbegin() + shortest, now.cbegin()).first -
        original.cbegin();
    if (prefix == shortest) {
        while (from + prefix < std::min(oldTotal, newTotal) &&
               oldAt(from + prefix) == page.characterAt(from + prefix))
            ++prefix;
    }
    const qint64 start = from + prefix;
    const qint64 limit = std::min(oldTotal, newTotal) - start;
    const qsizetype tail =
        std::mismatch(original.crbegin(), original.crbegin() + shortest, now.crbegin()).first -
        original.crbegin();
    const qint64 after = oldTotal - oldEnd;
    qint64 suffix = tail == shortest ? limit : std::min(limit, after + tail);
    if (limit == 0 && oldTotal == newTotal)
        return;
    const auto splits = [&](qint64 oldPosition, qint64 newPosition) {
        const auto unit = [](QChar a, QChar b) {
            return (a == u'\r' && b == u'\n') || (a.isHighSurrogate() && b.isLowSurrogate());
        };
        return (oldPosition > 0 && oldPosition < oldTotal &&
                unit(oldAt(oldPosition - 1), oldAt(oldPosition))) ||
               (newPosition > 0 && newPosition < newTotal &&
                unit(page.characterAt(newPosition - 1), page.characterAt(newPosition)));
    };
    qint64 begin = start;
    while (begin > 0 && splits(begin, begin))
        --begin;
    while (suffix > 0 && splits(oldTotal - suffix, newTotal - suffix))
        --suffix;
    QString oldText = oldRange(begin, oldTotal - suffix);
    QString newText = page.textRange(begin, newTotal - suffix - begin);
    if (oldText == newText)
        return;
    auto command = std::make_unique<TextCmd>();
    const StepSelection before{m_step.selectionStart - begin, m_step.selectionLength};
    const StepSelection afterStep{page.selectionStart() - begin, page.selectionLength()};
    const qint64 removed = oldText.size();
    const qint64 added = newText.size();
    command->Initialize(*m_page, begin, std::move(oldText), std::move(newText), before, afterStep);
    m_comandos.resize(std::size_t(m_comandoActual));
    m_comandos.push_back({std::move(command), ++m_lastSerial, 0, 0});
    m_comandoActual = count();
    // Older commands follow the step as the one edit it is undone and redone as.
    Recorded &recorded = m_comandos.back();
    m_running = recorded.serial;
    noteEdit(begin, removed, added);
    m_running = 0;
    recorded.followed = m_edits.size();
    recorded.foreignAtFollowed = m_foreignEdits;
}

void UndoHistory::noteForeign(qint64 start, qint64 removed, qint64 added)
{
    if (m_comandos.empty()) {
        m_edits.clear();
        return;
    }
    m_edits.push_back({start, removed, added, 0});
    ++m_foreignEdits;
}

TextCmd &UndoHistory::AgregarComando(std::unique_ptr<TextCmd> command)
{
    m_comandos.resize(std::size_t(m_comandoActual));
    m_comandos.push_back({std::move(command), ++m_lastSerial, 0, 0});
    m_comandoActual = count();
    run(m_comandos.back(), false);
    return *m_comandos.back().command;
}

void UndoHistory::DeshacerComando()
{
    while (m_comandoActual > 0) {
        const auto index = std::size_t(--m_comandoActual);
        if (follow(m_comandos[index], true)) {
            run(m_comandos[index], true);
            return;
        }
        m_comandos.erase(m_comandos.begin() + qsizetype(index));
    }
}

void UndoHistory::RehacerComando()
{
    while (m_comandoActual < count()) {
        const auto index = std::size_t(m_comandoActual);
        if (follow(m_comandos[index], false)) {
            ++m_comandoActual;
            run(m_comandos[index], false);
            return;
        }
        m_comandos.erase(m_comandos.begin() + qsizetype(index));
    }
}

void UndoHistory::clear()
{
    // A step under way when the page is replaced has nothing left to take back.
    m_step.lost = true;
    m_step.edits.clear();
    m_comandos.clear();
    m_comandoActual = 0;
    m_edits.clear();
    m_foreignEdits = 0;
}

void UndoHistory::noteEdit(qint64 start, qint64 removed, qint64 added)
{
    if (m_step.depth > 0 && m_running == 0) {
        m_step.edits.push_back({start, removed, added, 0});
        if (!m_step.lost && !stepEdit(start, removed, added))
            m_step.lost = true;
        return;
    }
    if (m_comandos.empty()) {
        m_edits.clear();
        return;
    }
    m_edits.push_back({start, removed, added, m_running});
    if (m_running == 0)
        ++m_foreignEdits;
}

void UndoHistory::run(Recorded &recorded, bool undo)
{
    m_running = recorded.serial;
    if (undo)
        recorded.command->Undo();
    else
        recorded.command->Apply();
    m_running = 0;
    recorded.followed = m_edits.size();
    recorded.foreignAtFollowed = m_foreignEdits;
}

bool UndoHistory::follow(Recorded &recorded, bool applied)
{
    TextCmd &command = *recorded.command;
    // Only commands ran since: each has been undone or redone back to where it was.
    if (recorded.foreignAtFollowed == m_foreignEdits)
        return command.isInPlace(applied);

    qint64 at = command.start();
    qint64 length = command.length(applied);
    // A later command typed over this one's character: it is kept with the text that command
    // replaced and comes back, at the same offset, when that command is undone.
    quint64 heldBy = 0;
    qint64 heldAt = 0;
    std::vector<Pending> pending;
    for (std::size_t i = recorded.followed; i < m_edits.size(); ++i) {
        const Edit &edit = m_edits[i];
        const qint64 end = edit.start + edit.removed;
        const qint64 shift = edit.added - edit.removed;
        if (heldBy != 0) {
            if (edit.serial == heldBy) {
                at = edit.start + heldAt;
                heldBy = 0;
            }
            continue;
        }
        // While this command is applied only later ones run; while it is undone, only older
        // ones, each undone and then redone.
        if (applied && edit.serial > recorded.serial && edit.removed > 0 && edit.start <= at &&
            at + length <= end) {
            heldBy = edit.serial;
            heldAt = at - edit.start;
            continue;
        }
        if (!applied && edit.serial != 0 && edit.serial < recorded.serial) {
            const auto undone =
                std::find_if(pending.rbegin(), pending.rend(),
                             [&](const Pending &p) { return p.serial == edit.serial; });
            Side side;
            if (undone != pending.rend()) {
                side = undone->side;
                // Anything undone after it and still pending was dropped on its way back.
                pending.erase(std::prev(undone.base()), pending.end());
            } else {
                if (length == 0 && at == edit.start)
                    side = Side::Anchor;
                else if (end <= at)
                    side = Side::Before;
                else if (edit.start >= at + length)
                    side = Side::After;
                else if (edit.start >= at && end <= at + length)
                    side = Side::Inside;
                else
                    return false;
                pending.push_back({edit.serial, side});
            }
            if (side == Side::Before)
                at += shift;
            else if (side == Side::Inside)
                length += shift;
            continue;
        }
        // An edit the history did not make: it must leave this command's characters alone
        // (an empty place, the character just after it).
        if (length == 0 ? (edit.start <= at && at < end) : (end > at && edit.start < at + length))
            return false;
        if (at >= end)
            at += shift;
    }
    if (heldBy != 0)
        return false;
    for (const Pending &p : pending) {
        // A command that changed part of this one's text, or the character its empty place
        // stood before, never came back.
        if (p.side == Side::Inside || p.side == Side::Anchor)
            return false;
    }
    command.setStart(at);
    return command.isInPlace(applied);
}

} // namespace zendral
