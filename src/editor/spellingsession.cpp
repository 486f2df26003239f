#include "spellingsession.h"

#include "htmlentities.h"
#include "spellengine.h"

#include <algorithm>

namespace zendral {

SpellingSession::SpellingSession(const QString &page, SpellEngine &engine, QStringList &addedWords)
    : m_text(page), m_engine(&engine), m_addedWords(addedWords), m_words(readableWords(page))
{
    const bool entities = std::any_of(m_words.begin(), m_words.end(),
                                      [](const ReadableWord &w) { return w.entityLetters; });
    const bool plain = std::any_of(m_words.begin(), m_words.end(),
                                   [](const ReadableWord &w) { return w.plainNonAsciiLetters; });
    m_pageUsesEntities = entities && !plain;
    findUnknown();
}

QString SpellingSession::word() const
{
    return finished() ? QString() : m_words[m_current].word;
}

QString SpellingSession::sourceWord() const
{
    return finished() ? QString() : m_text.mid(wordStart(), m_words[m_current].length);
}

qint64 SpellingSession::wordStart() const
{
    return finished() ? m_text.size() : m_words[m_current].start + m_shift;
}

QString SpellingSession::contextBefore() const
{
    if (finished())
        return {};
    const qint64 end = wordStart();
    qint64 start = std::max<qint64>(0, end - ContextLength);
    const qint64 lineBreak =
        std::max(m_text.lastIndexOf(u'\n', end - 1), m_text.lastIndexOf(u'\r', end - 1));
    if (end > 0 && lineBreak >= start)
        start = lineBreak + 1;
    return m_text.mid(start, end - start);
}

QString SpellingSession::contextAfter() const
{
    if (finished())
        return {};
    const qint64 start = wordStart() + m_words[m_current].length;
    qint64 end = std::min<qint64>(m_text.size(), start + ContextLength);
    for (QChar lineBreak : {u'\r', u'\n'}) {
        const qint64 found = m_text.indexOf(lineBreak, start);
        if (found >= 0 && found < end)
            end = found;
    }
    return m_text.mid(start, end - start);
}

QStringList SpellingSession::suggestions() const
{
    return finished() ? QStringList() : m_engine->suggest(word());
}

QString SpellingSession::writtenForm(const QString &replacement) const
{
    return finished() ? replacement : pageForm(replacement, m_words[m_current]);
}

void SpellingSession::ignore()
{
    if (finished())
        return;
    ++m_current;
    findUnknown();
}

void SpellingSession::ignoreAll()
{
    if (finished())
        return;
    m_ignored.insert(word());
    ignore();
}

void SpellingSession::change(const QString &replacement)
{
    if (finished())
        return;
    replaceCurrent(replacement);
    ++m_current;
    findUnknown();
}

void SpellingSession::changeAll(const QString &replacement)
{
    if (finished())
        return;
    m_changes.insert(word(), replacement);
    change(replacement);
}

void SpellingSession::add()
{
    if (finished())
        return;
    const QString added = word();
    if (!m_addedWords.contains(added))
        m_addedWords.append(added);
    m_engine->add(added);
    ignore();
}

void SpellingSession::setEngine(SpellEngine &engine)
{
    m_engine = &engine;
    findUnknown();
}

void SpellingSession::replaceCurrent(const QString &replacement)
{
    const ReadableWord &current = m_words[m_current];
    // Keeping the word as it was must not rewrite how the page spells it.
    if (replacement == current.word)
        return;
    const QString written = pageForm(replacement, current);
    m_text.replace(current.start + m_shift, current.length, written);
    m_shift += written.size() - current.length;
}

void SpellingSession::findUnknown()
{
    while (!finished()) {
        const QString &current = m_words[m_current].word;
        if (const auto change = m_changes.constFind(current); change != m_changes.constEnd()) {
            replaceCurrent(change.value());
        } else if (!m_ignored.contains(current) && !m_addedWords.contains(current) &&
                   !m_engine->check(current)) {
            return;
        }
        ++m_current;
    }
}

QString SpellingSession::pageForm(const QString &replacement, const ReadableWord &where) const
{
    const bool entities =
        where.entityLetters || (!where.plainNonAsciiLetters && m_pageUsesEntities);
    QString written;
    for (const char32_t c : replacement.toUcs4()) {
        // What the user types is text: it must not open a tag or end the attribute it lands in.
        const bool breaksMarkup =
            c == U'<' || c == U'>' || c == U'&' ||
            (where.place == WordPlace::DoubleQuotedValue && c == U'"') ||
            (where.place == WordPlace::SingleQuotedValue && c == U'\'') ||
            (where.place == WordPlace::UnquotedValue &&
             (QChar::isSpace(c) || c == U'"' || c == U'\'' || c == U'=' || c == U'`'));
        if (breaksMarkup || (entities && c > 127))
            written += entityFor(c);
        else
            written += QString::fromUcs4(&c, 1);
    }
    return written;
}

} // namespace zendral
