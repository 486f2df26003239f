#pragma once

#include "pageencoding.h"
#include "pagetext.h"

#include <QString>

#include <optional>

namespace zendral {

class Prompts;

// How the page goes into its file: the encoding a save writes it in, after the questions that
// takes, the character set declaration kept in step with it, and the line ends. Each change it
// makes to the text is one step of the undo history.
class PageFormat
{
public:
    PageFormat(PageText &page, Prompts &prompts);

    // The page was just read declaring declared (as it stands in the file): only a declaration
    // changed since decides how the page is written, and the question about adding one may
    // come again.
    void pageRead(const QString &declared);
    // The page's declaration as it stands now is the one it was written or made with. With
    // askAgain, the question about adding one may come again.
    void settle(bool askAgain = false);
    // The encoding a save writes the page in, now held in current, to path, after the questions
    // it needs; none when the author backed out and nothing may be written.
    std::optional<TextEncoding> encodingToWrite(TextEncoding current, const QString &path);
    // Archivo › Codificación › Guardar como: wanted, or UTF-8 when the page holds characters
    // wanted cannot and the author agrees, the declaration changed to name it and settled; none
    // when the author backed out.
    std::optional<TextEncoding> changeTo(TextEncoding wanted);
    // Every line end of the page, held in current, becomes end; false when nothing changed. A
    // binary page keeps its bytes, which the author is told.
    bool convertLineEnds(PageText::LineEnd end, TextEncoding current);
    // The page's text as the writer takes it.
    TextPieces pieces() const;

private:
    // The character set the page's text declares now.
    CharsetDeclaration declaration() const;
    // Makes the page declare UTF-8: its declaration changed, or one added.
    void declareUtf8();
    // Replaces stretch of the text by text without moving the author's caret or selection.
    void editAside(qint64 start, qint64 length, const QString &text);
    // Asks whether a page that encoding cannot hold goes in UTF-8 instead.
    bool mayTurnToUtf8(TextEncoding encoding, const Unencodable &found);

    PageText &m_page;
    Prompts &m_prompts;
    // The declared character set (in lower case) when the page was read or last saved: only
    // a declaration changed since decides how the page is written.
    QString m_settledDeclaration;
    // The page was asked about (or given) a UTF-8 declaration: the question comes once.
    bool m_declarationAsked = false;
};

} // namespace zendral
