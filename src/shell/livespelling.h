#pragma once

#include <QList>
#include <QObject>
#include <QTextEdit>
#include <QTimer>

class QAction;

namespace zendral {

class EditingSurface;
class PageText;
class Prompts;
class SpellingCheck;
class UndoHistory;

// Spelling as you type: a red wavy underline under the words on screen that a reader of the
// page sees and the dictionary does not know, redone once typing or scrolling pauses, and the
// right-click entries that correct such a word.
//
// Only the lines on screen are checked, read from at most LookBack characters before them so
// that a tag, comment, script or server block opened there is known for what it is; one opened
// further back is not seen, and what it holds may be taken for text.
class LiveSpelling : public QObject
{
    Q_OBJECT

public:
    LiveSpelling(EditingSurface &view, UndoHistory &history, SpellingCheck &check,
                 Prompts &prompts, QObject *parent = nullptr);

    bool isEnabled() const { return m_enabled; }
    // Off, the marks go and nothing is checked until it is on again.
    void setEnabled(bool enabled);

    // For the right-click menu about to open: on a marked word, the dictionary's suggestions,
    // "Omitir" and "Añadir al diccionario"; elsewhere nothing. The entries live until the
    // next call.
    QList<QAction *> contextActions();
    // Marks the words on screen now, as a pause in typing does.
    void markScreen();

    static constexpr int PauseMilliseconds = 400;
    static constexpr qint64 LookBack = 32 * 1024;
    // The most characters taken as the screen, for lines too long to be seen whole.
    static constexpr qint64 ScreenLimit = 64 * 1024;
    static constexpr int MostSuggestions = 8;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Mark
    {
        // The word's stretch of source, in the widget's positions: it moves with the text.
        QTextEdit::ExtraSelection selection;
        QString source;
        QString word;
    };

    void schedule();
    // Replaces the stretch of source from start, if it still reads source, as one undoable edit
    // in the colour of what it replaces.
    void replaceWord(qint64 start, const QString &source, const QString &written);

    EditingSurface &m_view;
    PageText &m_page;
    UndoHistory &m_history;
    SpellingCheck &m_check;
    Prompts &m_prompts;
    QTimer m_pause;
    bool m_enabled = true;
    QList<Mark> m_marks;
    // Where the right-click menu was asked for, in the widget's positions.
    int m_menuPosition = -1;
    QList<QAction *> m_entries;
};

} // namespace zendral
