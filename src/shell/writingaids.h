#pragma once

#include "completion.h"
#include "editorevents.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class QListWidget;

namespace zendral {

class EditingSurface;

// The aids that follow the author as they type: the list of suggestions `sugerencias` (tags,
// attributes, values, character references) and the closing tag written after "</".
//
// The list never takes a key of its own but Return, Tab, Escape and the keys that move in it;
// every other key reaches the page exactly as without it. Taking an entry is one step of the
// history. Each aid can be turned off.
class WritingAids : public QObject, private TypingFollower
{
    Q_OBJECT

public:
    // folder: the page's folder, whose files are offered for href and src (empty: none).
    WritingAids(EditingSurface &view, EditorEvents &events, QStringList table,
                std::function<QString()> folder, QObject *parent = nullptr);
    ~WritingAids() override;

    void setSuggestionsEnabled(bool enabled);
    void setClosingTagsEnabled(bool enabled);
    // Closes the list, when it shows.
    void closeList() { hide(); }
    // The list, shown or not.
    QListWidget &list() { return *m_list; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool confirms(char32_t character) override;
    void typed(char32_t character) override;
    // Shows the entries for the place, or hides the list when none fits.
    void show(const SuggestionPlace &place);
    void hide();
    // The caret moved or the text changed: the list follows what is typed at its place.
    void follow();
    void take();
    void move(int rows);

    EditingSurface &m_view;
    EditorEvents &m_events;
    QStringList m_table;
    std::function<QString()> m_folder;
    QListWidget *m_list = nullptr;
    std::optional<SuggestionPlace> m_place;
    QList<Suggestion> m_entries;
    bool m_suggestions = true;
    bool m_closingTags = true;
    // The closing tag last written, ending at m_writtenEnd, and how much of it the author has
    // typed since.
    QString m_written;
    qint64 m_writtenEnd = -1;
    int m_writtenEndInView = -1;
    qsizetype m_confirmed = 0;
};

} // namespace zendral
