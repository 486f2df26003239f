#pragma once

#include "spelldictionary.h"
#include "spellengine.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

#include <memory>
#include <optional>
#include <string>

class Hunspell;

namespace zendral {

// Why a dictionary could not be loaded: the system's error number, the file concerned and
// the system's description of the error.
struct SpellEngineFailure
{
    int number = 0;
    QString path;
    QString reason;
};

// The spelling engine over one Hunspell dictionary. Words are converted to the encoding the
// dictionary declares (SET in its .aff file), since Hunspell compares raw bytes.
class HunspellEngine : public SpellEngine
{
public:
    // Loads the dictionary, or returns nothing and says why in failure.
    static std::unique_ptr<HunspellEngine> open(const SpellDictionary &dictionary,
                                                SpellEngineFailure *failure);
    ~HunspellEngine() override;

    bool check(const QString &word) override;
    QStringList suggest(const QString &word) override;
    void add(const QString &word) override;

    // The encoding name as the dictionary declares it, such as "UTF-8" or "ISO8859-1".
    QByteArray encoding() const { return m_encoding; }

private:
    HunspellEngine(std::unique_ptr<Hunspell> hunspell, const QByteArray &encoding,
                   const QByteArray &converterName);
    // The word in the dictionary's encoding, or nothing when that encoding cannot hold it.
    std::optional<std::string> encode(const QString &word);
    QString decode(const std::string &bytes);

    std::unique_ptr<Hunspell> m_hunspell;
    QByteArray m_encoding;
    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
};

} // namespace zendral
