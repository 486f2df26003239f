#pragma once

#include "pagetext.h"
#include "typedcharacterhandler.h"
#include "undohistory.h"
#include "undostep.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace zendral {

// Follows the printable characters typed into the page, for the writing aids.
class TypingFollower
{
public:
    virtual ~TypingFollower() = default;
    // Before the character goes in: true when it only confirms a character the aids wrote
    // ahead of the author, so that nothing is inserted for it.
    virtual bool confirms(char32_t character) = 0;
    // After the character has gone into the page through the history.
    virtual void typed(char32_t character) = 0;
};

// What the editor does with the surface's notifications: typed characters go through the
// undo history (Ctrl+Z and Ctrl+Y undo and redo), each of the surface's own edits is a step of
// it, and it follows every edit of the text; a tag
// closed by a typed ">" is coloured at once, and every change of the text runs the given
// refresh (the page's weight).
class EditorEvents : public TypedCharacterHandler
{
public:
    EditorEvents(PageText &page, QStringList table, std::function<void()> refresh);
    ~EditorEvents() override;
    EditorEvents(const EditorEvents &) = delete;
    EditorEvents &operator=(const EditorEvents &) = delete;

    bool characterTyped(const QString &character) override;
    void editStarting(qint64 from, qint64 length) override;
    void editEnded() override;
    // The page's change notification.
    void onChanged();

    UndoHistory &history() { return m_history; }
    // The writing aids, told of each printable character typed (none: no aids).
    void setTypingFollower(TypingFollower *follower) { m_typingFollower = follower; }

private:
    PageText &m_page;
    QStringList m_table;
    std::function<void()> m_refresh;
    TypingFollower *m_typingFollower = nullptr;
    UndoHistory m_history;
    std::vector<std::unique_ptr<UndoStep>> m_steps;
    QMetaObject::Connection m_edits;
    // The code of the last character typed, 0 before any.
    char32_t m_ultimaTecla = 0; // fixed name
    // A ">" is being typed: its edit colours the tag it closes.
    bool m_closingTyped = false;
    // Where the caret stood when that edit coloured the tag, until another edit comes.
    qint64 m_colouredAt = -1;
};

} // namespace zendral
