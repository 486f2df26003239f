#include "spellingcheck.h"

#include "documentfile.h"
#include "editingsurface.h"
#include "hunspellengine.h"
#include "prompts.h"
#include "spellingdialog.h"
#include "spellingsession.h"

#include <cerrno>
#include <cstring>

namespace zendral {

namespace {

namespace captions {
const QString NothingMisspelled =
    QStringLiteral("No se ha encontrado ninguna palabra mal escrita.");
const QString AnyDictionary = QStringLiteral("el diccionario de Hunspell");
} // namespace captions

// "Error", the number with the blank a positive number is written with, what could not be
// opened, then the system's reason on a line of its own.
QString failureNotice(const SpellEngineFailure &failure)
{
    const QString number = failure.number >= 0 ? QStringLiteral(" %1").arg(failure.number)
                                               : QString::number(failure.number);
    return QStringLiteral("Error%1 al abrir %2.\r\n%3").arg(number, failure.path, failure.reason);
}

SpellEngineFailure noDictionary()
{
    return {ENOENT, captions::AnyDictionary, errorReason(ENOENT)};
}

} // namespace

SpellingCheck::SpellingCheck(std::vector<SpellDictionary> dictionaries)
    : m_dictionaries(std::move(dictionaries))
{}

void SpellingCheck::run(EditingSurface &text1, Prompts &prompts, QWidget *parent)
{
    // The dictionary used last comes first; should it fail, the others are tried in order.
    std::vector<size_t> order;
    if (m_chosen < m_dictionaries.size())
        order.push_back(m_chosen);
    for (size_t i = 0; i < m_dictionaries.size(); ++i)
        if (i != m_chosen)
            order.push_back(i);

    std::unique_ptr<HunspellEngine> engine;
    SpellEngineFailure firstFailure = noDictionary();
    for (size_t i : order) {
        SpellEngineFailure failure;
        engine = HunspellEngine::open(m_dictionaries[i], &failure);
        if (engine) {
            m_chosen = i;
            break;
        }
        if (i == order.front())
            firstFailure = failure;
    }
    if (!engine) {
        prompts.notify(failureNotice(firstFailure));
        return;
    }
    for (const QString &word : m_addedWords)
        engine->add(word);

    const QString page = text1.text();
    SpellingSession session(page, *engine, m_addedWords);
    if (session.finished()) {
        prompts.notify(captions::NothingMisspelled);
        return;
    }

    QStringList names;
    for (const SpellDictionary &dictionary : m_dictionaries)
        names.append(dictionary.displayName());
    SpellingDialog dialog(session, names, int(m_chosen), parent);
    QObject::connect(&dialog, &SpellingDialog::dictionaryChosen, &dialog, [&](int index) {
        SpellEngineFailure failure;
        auto other = HunspellEngine::open(m_dictionaries[size_t(index)], &failure);
        if (!other) {
            prompts.notify(failureNotice(failure));
            dialog.setDictionary(int(m_chosen));
            return;
        }
        for (const QString &word : m_addedWords)
            other->add(word);
        session.setEngine(*other);
        engine = std::move(other);
        m_chosen = size_t(index);
        dialog.showWord();
    });
    dialog.exec();
    // Putting the same text back would still wipe the colours and count as a change.
    if (session.text() != page)
        text1.setText(session.text());
}

void runSpellingCheck(EditingSurface &text1, Prompts &prompts, QWidget *parent)
{
    static SpellingCheck check(installedDictionaries());
    check.run(text1, prompts, parent);
}

} // namespace zendral
