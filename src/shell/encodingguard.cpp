#include "encodingguard.h"

#include "pageencoding.h"

namespace zendral {

EncodingGuard::EncodingGuard(TypedCharacterHandler &next, std::function<TextEncoding()> encoding,
                             std::function<void(const QString &note)> refused)
    : m_next(next), m_encoding(std::move(encoding)), m_refused(std::move(refused))
{}

bool EncodingGuard::characterTyped(const QString &character)
{
    // Taken care of: nothing is inserted.
    return !admits(character) || m_next.characterTyped(character);
}

bool EncodingGuard::admits(const QString &text)
{
    const TextEncoding encoding = m_encoding();
    if (encoding != TextEncoding::Binary)
        return true;
    const std::optional<Unencodable> found =
        firstUnencodable([&text](const PieceTaker &take) { take(text); }, encoding);
    if (!found)
        return true;
    m_refused(QStringLiteral("El archivo es binario: el carácter \"%1\" no cabe en sus bytes y "
                             "no se ha escrito.")
                  .arg(found->character));
    return false;
}

} // namespace zendral
