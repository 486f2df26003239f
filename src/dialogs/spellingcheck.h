#pragma once

#include "spelldictionary.h"

#include <QStringList>

#include <vector>

class QWidget;

namespace zendral {

class EditingSurface;
class Prompts;

// The spelling check of the whole page: hands the text to a spelling session over a Hunspell
// dictionary, lets the user correct it in the spelling dialog, and puts the corrected text
// back. Keeps, for the life of the object, the words the user added and the dictionary chosen.
class SpellingCheck
{
public:
    // dictionaries in order of preference; the first that loads is used.
    explicit SpellingCheck(std::vector<SpellDictionary> dictionaries);

    // Checks the page in text1 and replaces it with the corrected text. When nothing was
    // corrected, or no dictionary loads (told through prompts), text1 is left untouched.
    void run(EditingSurface &text1, Prompts &prompts, QWidget *parent);

    const QStringList &addedWords() const { return m_addedWords; }

private:
    std::vector<SpellDictionary> m_dictionaries;
    QStringList m_addedWords;
    // Index in m_dictionaries of the dictionary the last check used.
    size_t m_chosen = 0;
};

// `btnortografia`: the check over the installed dictionaries, Spanish first; the words added
// and the dictionary chosen last for the rest of this run of the program.
void runSpellingCheck(EditingSurface &text1, Prompts &prompts, QWidget *parent);

} // namespace zendral
