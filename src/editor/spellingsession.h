#pragma once

#include "readablewords.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace zendral {

class SpellEngine;

// One spelling check of a page: walks the words a reader sees, stops at each one the
// dictionary does not know, and applies the user's decisions to its own copy of the text.
//
// The text keeps its line ends as they came (CR LF); only the corrected words change.
class SpellingSession
{
public:
    // addedWords is the list of words the user added during this run of the program; the
    // session appends to it. The session stops at the first unknown word at once.
    SpellingSession(const QString &page, SpellEngine &engine, QStringList &addedWords);

    // True when no unknown word is left.
    bool finished() const { return m_current >= m_words.size(); }

    // The unknown word shown now, as the reader sees it (entities decoded).
    QString word() const;
    // How the page writes it, and where it stands in text().
    QString sourceWord() const;
    qint64 wordStart() const;
    // The rest of the word's line on either side, at most ContextLength characters each.
    QString contextBefore() const;
    QString contextAfter() const;
    // Likely corrections for the word shown, best first.
    QStringList suggestions() const;
    // How the page must write replacement in the place of the word shown.
    QString writtenForm(const QString &replacement) const;

    // Leaves this occurrence as it is.
    void ignore();
    // Leaves this word as it is here and wherever it comes again.
    void ignoreAll();
    // Writes the replacement in the word's place, in the page's own form.
    void change(const QString &replacement);
    // Changes this occurrence and every later one of the same word.
    void changeAll(const QString &replacement);
    // Accepts the word from now on, for the rest of this run of the program.
    void add();

    // Carries on with another dictionary, from the word shown now.
    void setEngine(SpellEngine &engine);

    // The whole text with the corrections made so far.
    QString text() const { return m_text; }

    static constexpr qint64 ContextLength = 60;

private:
    void replaceCurrent(const QString &replacement);
    // Moves from the current word to the next one the dictionary does not know, applying the
    // "change all" and "ignore all" decisions on the way.
    void findUnknown();
    QString pageForm(const QString &replacement, const ReadableWord &where) const;

    QString m_text;
    SpellEngine *m_engine;
    QStringList &m_addedWords;
    std::vector<ReadableWord> m_words;
    size_t m_current = 0;
    // How far the words found in the original text have moved in m_text.
    qint64 m_shift = 0;
    // Whether the page writes its accented letters as entities.
    bool m_pageUsesEntities = false;
    QSet<QString> m_ignored;
    QHash<QString, QString> m_changes;
};

} // namespace zendral
