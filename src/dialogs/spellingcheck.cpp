#include "spellingcheck.h"

#include "colouring.h"
#include "documentfile.h"
#include "hunspellengine.h"
#include "pagetext.h"
#include "prompts.h"
#include "spellingdialog.h"
#include "spellingsession.h"
#include "undostep.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>
#include <QThread>

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

SpellingCheck::SpellingCheck(std::vector<SpellDictionary> dictionaries, QString wordsFile)
    : m_dictionaries(std::move(dictionaries)), m_wordsFile(std::move(wordsFile))
{
    QFile words(m_wordsFile);
    if (m_wordsFile.isEmpty() || !words.open(QIODevice::ReadOnly))
        return;
    QTextStream stream(&words);
    stream.setEncoding(QStringConverter::Utf8);
    QString word;
    while (stream.readLineInto(&word)) {
        word = word.trimmed();
        if (!word.isEmpty() && !m_addedWords.contains(word))
            m_addedWords.append(word);
    }
}

SpellingCheck::~SpellingCheck()
{
    if (m_loader) {
        m_loader->wait();
        delete m_loader;
    }
}

std::unique_ptr<SpellEngine> SpellingCheck::open(size_t index, SpellEngineFailure &failure)
{
    std::unique_ptr<SpellEngine> engine = HunspellEngine::open(m_dictionaries[index], &failure);
    if (engine) {
        for (const QString &word : std::as_const(m_addedWords))
            engine->add(word);
    }
    return engine;
}

SpellEngine *SpellingCheck::engine(QObject *receiver, std::function<void()> whenReady)
{
    if (m_engine || m_quietLoadFailed)
        return m_engine.get();
    if (receiver && whenReady)
        m_waiting.append({receiver, std::move(whenReady)});
    if (m_loader)
        return nullptr;

    struct Loaded
    {
        std::unique_ptr<SpellEngine> engine;
        size_t index = 0;
    };
    auto loaded = std::make_shared<Loaded>();
    m_loader = QThread::create([dictionaries = m_dictionaries, loaded] {
        for (size_t i = 0; i < dictionaries.size() && !loaded->engine; ++i) {
            SpellEngineFailure failure;
            loaded->engine = HunspellEngine::open(dictionaries[i], &failure);
            loaded->index = i;
        }
    });
    // The thread object lives here: its end is answered in this thread.
    QObject::connect(m_loader, &QThread::finished, m_loader, [this, loaded] {
        m_loader->deleteLater();
        m_loader = nullptr;
        // A check run meanwhile may have loaded one already.
        if (!m_engine && loaded->engine) {
            m_engine = std::move(loaded->engine);
            m_chosen = loaded->index;
            for (const QString &word : std::as_const(m_addedWords))
                m_engine->add(word);
        }
        m_quietLoadFailed = !m_engine;
        const auto waiting = std::exchange(m_waiting, {});
        for (const auto &[waiter, ready] : waiting) {
            if (waiter)
                ready();
        }
    });
    m_loader->start();
    return nullptr;
}

bool SpellingCheck::addWord(const QString &word)
{
    if (m_addedWords.contains(word))
        return true;
    m_addedWords.append(word);
    if (m_engine)
        m_engine->add(word);
    return keepWords();
}

QString SpellingCheck::wordsNotKept() const
{
    return QStringLiteral("No se pudo escribir la lista de palabras agregadas \"%1\": las palabras "
                          "nuevas valen solo hasta que se cierre el programa.")
        .arg(m_wordsFile);
}

bool SpellingCheck::keepWords() const
{
    if (m_wordsFile.isEmpty())
        return true;
    // A list that cannot be written still serves this run; the user is told the next start
    // will not know the new words.
    QDir().mkpath(QFileInfo(m_wordsFile).absolutePath());
    QSaveFile file(m_wordsFile);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = m_addedWords.join(u'\n').append(u'\n').toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void SpellingCheck::run(PageText &page, Prompts &prompts, QWidget *parent)
{
    if (!m_engine) {
        // The dictionary used last comes first; should it fail, the others are tried in order.
        std::vector<size_t> order;
        if (m_chosen < m_dictionaries.size())
            order.push_back(m_chosen);
        for (size_t i = 0; i < m_dictionaries.size(); ++i)
            if (i != m_chosen)
                order.push_back(i);

        SpellEngineFailure firstFailure = noDictionary();
        for (size_t i : order) {
            SpellEngineFailure failure;
            m_engine = open(i, failure);
            if (m_engine) {
                m_chosen = i;
                break;
            }
            if (i == order.front())
                firstFailure = failure;
        }
        if (!m_engine) {
            prompts.notify(failureNotice(firstFailure));
            return;
        }
        m_quietLoadFailed = false;
    }

    const QString original = page.text();
    const qsizetype knownWords = m_addedWords.size();
    SpellingSession session(original, *m_engine, m_addedWords);
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
        std::unique_ptr<SpellEngine> other = open(size_t(index), failure);
        if (!other) {
            prompts.notify(failureNotice(failure));
            dialog.setDictionary(int(m_chosen));
            return;
        }
        session.setEngine(*other);
        m_engine = std::move(other);
        m_chosen = size_t(index);
        dialog.showWord();
    });
    dialog.exec();
    if (m_addedWords.size() != knownWords && !keepWords())
        prompts.notify(wordsNotKept());
    // Putting the same text back would still wipe the colours and count as a change.
    if (session.text() != original) {
        UndoStep step(page, UndoStep::WholeText);
        page.setText(session.text());
        // A new whole text is all black: coloured as opening the page colours it.
        Colorea(page, TablaEtiquetas());
        page.setSelectionStart(0);
    }
}

} // namespace zendral
