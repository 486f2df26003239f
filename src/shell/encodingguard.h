#pragma once

#include "documentfile.h"
#include "editingsurface.h"

#include <QString>

#include <functional>

namespace zendral {

// Keeps out of a page the characters its encoding cannot hold, where they are typed or pasted,
// so that a page read as binary keeps every byte it was read with. Other pages take anything:
// a save asks before it changes their encoding.
class EncodingGuard : public TypedCharacterHandler
{
public:
    // encoding gives the page's encoding now; refused is told of each refusal, in Spanish.
    EncodingGuard(TypedCharacterHandler &next, std::function<TextEncoding()> encoding,
                  std::function<void(const QString &note)> refused);

    bool characterTyped(const QString &character) override;
    void editStarting(qint64 from, qint64 length) override { m_next.editStarting(from, length); }
    void editEnded() override { m_next.editEnded(); }
    // Whether text may go into the page; when not, the refusal is told.
    bool admits(const QString &text);

private:
    TypedCharacterHandler &m_next;
    std::function<TextEncoding()> m_encoding;
    std::function<void(const QString &)> m_refused;
};

} // namespace zendral
