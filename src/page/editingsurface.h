#pragma once

#include "pagetext.h"
#include "typedcharacterhandler.h"

#include <QList>
#include <QPlainTextEdit>
#include <QString>
#include <QUrl>

#include <map>
#include <utility>

class QAction;

namespace zendral {

// The view `text1` of a page: a plain-text editor showing the page's document, and the place
// of focus, keys, caret, selection, highlights, line numbers, menus and drops. The page's caret
// and selection are this widget's cursor.
class EditingSurface : public QPlainTextEdit, private PageCaret
{
    Q_OBJECT

public:
    // Shows a page of its own.
    explicit EditingSurface(QWidget *parent = nullptr);
    ~EditingSurface() override;

    // The page shown.
    PageText &page() { return *m_page; }
    const PageText &page() const { return *m_page; }

    // The colour the character at position is painted in, for tools that drive the editor
    // from outside.
    Q_INVOKABLE QColor characterColour(qint64 position) const
    {
        return m_page->characterColour(position);
    }

    // The page positions at a point of the viewport, and from the start of the first line the
    // view shows to the end of the last.
    qint64 positionAt(const QPoint &point) const;
    std::pair<qint64, qint64> shownLines() const;

    // The features that mark stretches of text beside the selection; each keeps its own marks.
    enum class HighlightLayer { Find, MatchingTag, Spelling };
    // Replaces one layer's marks, leaving the other layers' alone; higher layers are drawn over
    // lower ones.
    void setHighlights(HighlightLayer layer, const QList<QTextEdit::ExtraSelection> &highlights);

    void setTypedCharacterHandler(TypedCharacterHandler *handler) { m_handler = handler; }
    // The commands the right-click menu offers before its own "Seleccionar todo", in order;
    // a null entry is a separator. The window owns them.
    void setContextActions(const QList<QAction *> &actions) { m_contextActions = actions; }

    // The gutter of line numbers at the left of the text (shown by default).
    bool lineNumbersShown() const { return m_lineNumbersShown; }
    void setLineNumbersShown(bool shown);
    // The caret's line painted in a light background (on by default).
    bool currentLineHighlighted() const { return m_currentLineHighlighted; }
    void setCurrentLineHighlighted(bool highlighted);
    // The background of the caret's line.
    static QColor currentLineColour();

signals:
    // Files from the desktop were dropped on the surface, the caret moved to where they fell.
    // They are not inserted as text: what a file becomes is the window's business.
    void filesDropped(const QList<QUrl> &files);
    // The right-click menu is about to open: the commands it shows can be brought up to date.
    void contextMenuOpening();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    QTextCursor caretCursor() const override { return textCursor(); }
    void setCaretCursor(const QTextCursor &cursor) override { setTextCursor(cursor); }
    void focusCaret() override { setFocus(); }
    void typeCharacters(const QString &text);
    // Tells the handler of an edit of the surface's own for as long as it lives.
    class OwnEdit
    {
    public:
        OwnEdit(EditingSurface &surface, qint64 from, qint64 length);
        ~OwnEdit();
        OwnEdit(const OwnEdit &) = delete;
        OwnEdit &operator=(const OwnEdit &) = delete;

    private:
        TypedCharacterHandler *m_handler;
    };
    // The stretch a key of the widget's own may take away: the selection and the lines on
    // either side of it (a word deleted at a line's start takes the line end before it).
    std::pair<qint64, qint64> keyReach() const;
    // A caret at a join of a held line stands on either side of it; moves it to the side from
    // which a deletion forward (Delete) or backward (Backspace) takes a character of the text
    // instead of the join.
    void leaveJoin(bool forward);
    // After a key that moved the caret from before: a caret left at a join of a held line goes
    // on past it, as the key would go past any character.
    void passJoin(QKeyEvent *event, WidgetPosition before);

    class LineNumberGutter;
    void setUpGutter();
    int gutterWidth(int lineCount) const;
    void updateGutterWidth();
    // Sizes the line numbers for a page of lineCount lines.
    void fitGutter(int lineCount);
    void placeGutter();
    void updateGutter(const QRect &rect, int dy);
    void paintGutter(QPaintEvent *event);
    void caretMoved();
    // The caret's line as the user sees it, in viewport coordinates.
    QRectF caretLineRect() const;

    TypedCharacterHandler *m_handler = nullptr;
    std::map<HighlightLayer, QList<QTextEdit::ExtraSelection>> m_highlights;
    QList<QAction *> m_contextActions;
    QWidget *m_gutter = nullptr;
    bool m_lineNumbersShown = true;
    bool m_currentLineHighlighted = true;
    int m_appliedGutterWidth = -1;
    int m_caretBlock = -1;
    // The count of blocks when the numbers were last repainted.
    int m_numberedBlocks = -1;
    PageText *m_page = nullptr;
};

} // namespace zendral
