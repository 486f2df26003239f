#include "hunspellengine.h"

#include "documentfile.h"

#include <QFile>

#include <hunspell/hunspell.hxx>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zendral {

namespace {

// Hunspell prints its own complaints about unreadable files and then carries on with an
// empty dictionary, which would call every word misspelled; so the files are tried first.
bool readable(const QString &path, SpellEngineFailure *failure)
{
    const QByteArray name = QFile::encodeName(path);
    const int descriptor = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    int error = descriptor < 0 ? errno : 0;
    if (descriptor >= 0) {
        struct stat status;
        if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode))
            error = EISDIR;
        ::close(descriptor);
    }
    if (error == 0)
        return true;
    if (failure)
        *failure = {error, path, errorReason(error)};
    return false;
}

// Hunspell spells encodings its own way; the converters want the registered names.
QByteArray converterName(QByteArray encoding)
{
    if (encoding.isEmpty())
        return "ISO-8859-1";
    if (encoding.startsWith("ISO8859-"))
        return "ISO-8859-" + encoding.mid(8);
    if (encoding.startsWith("microsoft-cp"))
        return "windows-" + encoding.mid(12);
    if (encoding == "TIS620-2533")
        return "TIS-620";
    return encoding;
}

} // namespace

std::unique_ptr<HunspellEngine> HunspellEngine::open(const SpellDictionary &dictionary,
                                                     SpellEngineFailure *failure)
{
    if (!readable(dictionary.affixPath, failure) || !readable(dictionary.wordsPath, failure))
        return nullptr;
    auto hunspell = std::make_unique<Hunspell>(QFile::encodeName(dictionary.affixPath).constData(),
                                               QFile::encodeName(dictionary.wordsPath).constData());
    const QByteArray encoding(hunspell->get_dic_encoding());
    const QByteArray converter = converterName(encoding);
    if (!QStringEncoder(converter.constData()).isValid()) {
        if (failure)
            *failure = {EINVAL, dictionary.affixPath,
                        QStringLiteral("Unknown dictionary encoding %1")
                            .arg(QString::fromLatin1(encoding))};
        return nullptr;
    }
    return std::unique_ptr<HunspellEngine>(
        new HunspellEngine(std::move(hunspell), encoding, converter));
}

HunspellEngine::HunspellEngine(std::unique_ptr<Hunspell> hunspell, const QByteArray &encoding,
                               const QByteArray &converterName)
    : m_hunspell(std::move(hunspell)), m_encoding(encoding), m_encoder(converterName.constData()),
      m_decoder(converterName.constData())
{}

HunspellEngine::~HunspellEngine() = default;

bool HunspellEngine::check(const QString &word)
{
    const std::optional<std::string> bytes = encode(word);
    return bytes && m_hunspell->spell(*bytes);
}

QStringList HunspellEngine::suggest(const QString &word)
{
    const std::optional<std::string> bytes = encode(word);
    QStringList suggestions;
    if (!bytes)
        return suggestions;
    for (const std::string &suggestion : m_hunspell->suggest(*bytes))
        suggestions.append(decode(suggestion));
    return suggestions;
}

void HunspellEngine::add(const QString &word)
{
    if (const std::optional<std::string> bytes = encode(word))
        m_hunspell->add(*bytes);
}

std::optional<std::string> HunspellEngine::encode(const QString &word)
{
    m_encoder.resetState();
    const QByteArray bytes = m_encoder.encode(word);
    if (m_encoder.hasError())
        return std::nullopt;
    return bytes.toStdString();
}

QString HunspellEngine::decode(const std::string &bytes)
{
    m_decoder.resetState();
    return m_decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

} // namespace zendral
