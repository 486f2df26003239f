#pragma once

#include "spelldictionary.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QThread;
class QWidget;

namespace zendral {

class PageText;
class Prompts;
class SpellEngine;
struct SpellEngineFailure;

// The spelling of the page: the check of the whole page, which hands the text to a spelling
// session over a Hunspell dictionary, lets the user correct it in the spelling dialog and puts
// the corrected text back, and the dictionary that the marks made while typing ask. Keeps the
// dictionary chosen and the words the user added, the latter also in a file across starts.
class SpellingCheck
{
public:
    // dictionaries in order of preference; the first that loads is used. wordsFile holds the
    // user's own words, one a line; without one they last as long as the object.
    explicit SpellingCheck(std::vector<SpellDictionary> dictionaries, QString wordsFile = {});
    ~SpellingCheck();

    // Checks the page and replaces it with the corrected text. When nothing was
    // corrected, or no dictionary loads (told through prompts), the page is left untouched.
    void run(PageText &page, Prompts &prompts, QWidget *parent);

    const QStringList &addedWords() const { return m_addedWords; }
    // The dictionary in use; null while it loads or when none loads. The first call starts
    // loading it quietly, in a thread of its own so that typing never waits for it; once it
    // is in place, whenReady runs in this thread unless receiver is gone.
    SpellEngine *engine(QObject *receiver = nullptr, std::function<void()> whenReady = {});
    // Accepts the word from now on, in this run of the program and the next ones; false when
    // the list of added words could not be written, so that the word lasts this run only.
    bool addWord(const QString &word);
    // What the user is told when the added words could not be written.
    QString wordsNotKept() const;
    // Accepts the word for the rest of this run of the program, in the marks made while typing.
    void ignoreWord(const QString &word) { m_ignored.insert(word); }
    bool ignored(const QString &word) const { return m_ignored.contains(word); }

private:
    // Loads dictionary index with the user's words; nothing, and why in failure, when it fails.
    std::unique_ptr<SpellEngine> open(size_t index, SpellEngineFailure &failure);
    bool keepWords() const;

    std::vector<SpellDictionary> m_dictionaries;
    QString m_wordsFile;
    QStringList m_addedWords;
    QSet<QString> m_ignored;
    std::unique_ptr<SpellEngine> m_engine;
    // A quiet load that failed is not tried again at every pause in typing.
    bool m_quietLoadFailed = false;
    QThread *m_loader = nullptr;
    QList<QPair<QPointer<QObject>, std::function<void()>>> m_waiting;
    // Index in m_dictionaries of the dictionary the last check used.
    size_t m_chosen = 0;
};

} // namespace zendral
