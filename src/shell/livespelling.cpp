#include "livespelling.h"

#include "editingsurface.h"
#include "prompts.h"
#include "readablewords.h"
#include "spellengine.h"
#include "spellingcheck.h"
#include "spellingsession.h"
#include "textcmd.h"
#include "undohistory.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QScrollBar>

#include <algorithm>

namespace zendral {

namespace {

namespace captions {
const QString Ignore = QStringLiteral("&Omitir");
const QString Add = QStringLiteral("&Añadir al diccionario");
} // namespace captions

// How far a word cut by the screen's last corner may run on.
constexpr qint64 LongestWord = 100;

QTextCharFormat misspeltFormat()
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

} // namespace

LiveSpelling::LiveSpelling(EditingSurface &view, UndoHistory &history, SpellingCheck &check,
                           Prompts &prompts, QObject *parent)
    : QObject(parent), m_view(view), m_page(view.page()), m_history(history), m_check(check),
      m_prompts(prompts)
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(PauseMilliseconds);
    connect(&m_pause, &QTimer::timeout, this, &LiveSpelling::markScreen);
    connect(&view.page(), &PageText::changed, this, &LiveSpelling::schedule);
    for (QScrollBar *bar : {view.verticalScrollBar(), view.horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, &LiveSpelling::schedule);
        connect(bar, &QScrollBar::rangeChanged, this, &LiveSpelling::schedule);
    }
    view.installEventFilter(this);
    view.viewport()->installEventFilter(this);
    schedule();
}

void LiveSpelling::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (enabled) {
        schedule();
        return;
    }
    m_pause.stop();
    m_marks.clear();
    m_view.setHighlights(EditingSurface::HighlightLayer::Spelling, {});
}

bool LiveSpelling::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu) {
        const auto *menu = static_cast<QContextMenuEvent *>(event);
        if (watched == m_view.viewport())
            m_menuPosition = m_view.cursorForPosition(menu->pos()).position();
        else if (menu->reason() == QContextMenuEvent::Keyboard)
            m_menuPosition = m_view.textCursor().position();
    } else if (event->type() == QEvent::Resize && watched == m_view.viewport()) {
        schedule();
    }
    return false;
}

void LiveSpelling::schedule()
{
    // Restarted by every edit and scroll, so that it runs once the user pauses, never while
    // the editor sits idle.
    if (m_enabled)
        m_pause.start();
}

void LiveSpelling::markScreen()
{
    if (!m_enabled)
        return;
    SpellEngine *engine = m_check.engine(this, [this] { markScreen(); });
    if (!engine)
        return;
    const QRect shown = m_view.viewport()->rect();
    const qint64 first = m_view.positionAt(shown.topLeft());
    qint64 last = m_view.positionAt(shown.bottomRight());
    last = std::min(last, first + ScreenLimit);
    // A word the corner cuts is checked whole.
    const qint64 length = m_page.textLength();
    for (qint64 more = 0; more < LongestWord && last < length; ++more, ++last) {
        if (!m_page.characterAt(last).isLetterOrNumber())
            break;
    }
    const qint64 from = std::max<qint64>(0, first - LookBack);
    const QString stretch = m_page.textRange(from, last - from);

    QList<Mark> marks;
    QList<QTextEdit::ExtraSelection> selections;
    const QTextCharFormat format = misspeltFormat();
    for (const ReadableWord &word : readableWords(stretch)) {
        if (from + word.start + word.length <= first || m_check.ignored(word.word) ||
            m_check.addedWords().contains(word.word) || engine->check(word.word))
            continue;
        const QTextCursor cursor =
            m_page.cursorOver(from + word.start, from + word.start + word.length);
        Mark mark{{cursor, format}, stretch.mid(word.start, word.length), word.word};
        selections.append(mark.selection);
        marks.append(std::move(mark));
    }
    m_marks = std::move(marks);
    m_view.setHighlights(EditingSurface::HighlightLayer::Spelling, selections);
}

QList<QAction *> LiveSpelling::contextActions()
{
    qDeleteAll(m_entries);
    m_entries.clear();
    const int position = std::exchange(m_menuPosition, -1);
    if (!m_enabled || position < 0)
        return {};
    const auto clicked = std::find_if(m_marks.cbegin(), m_marks.cend(), [&](const Mark &mark) {
        return mark.selection.cursor.selectionStart() <= position &&
               position <= mark.selection.cursor.selectionEnd();
    });
    SpellEngine *engine = m_check.engine();
    if (clicked == m_marks.cend() || !engine)
        return {};
    const qint64 start = m_page.positionOf(clicked->selection.cursor);
    const QString source = clicked->source;
    const QString word = clicked->word;
    if (m_page.textRange(start, source.size()) != source)
        return {};

    // The session reads the word where it stands (text or which attribute) and writes each
    // correction as the page writes its letters.
    const qint64 from = std::max<qint64>(0, start - LookBack);
    QStringList accepted = m_check.addedWords();
    SpellingSession session(m_page.textRange(from, start + source.size() - from), *engine,
                            accepted);
    while (!session.finished() && session.wordStart() < start - from)
        session.ignore();
    if (session.finished() || session.wordStart() != start - from)
        return {};

    const QStringList suggestions = session.suggestions().mid(0, MostSuggestions);
    for (const QString &suggestion : suggestions) {
        auto *entry = new QAction(
            QString(suggestion).replace(QStringLiteral("&"), QStringLiteral("&&")), this);
        const QString written = session.writtenForm(suggestion);
        connect(entry, &QAction::triggered, this,
                [this, start, source, written] { replaceWord(start, source, written); });
        m_entries.append(entry);
    }
    auto *ignore = new QAction(captions::Ignore, this);
    ignore->setObjectName(QStringLiteral("menuOmitir"));
    connect(ignore, &QAction::triggered, this, [this, word] {
        m_check.ignoreWord(word);
        markScreen();
    });
    auto *add = new QAction(captions::Add, this);
    add->setObjectName(QStringLiteral("menuAnadir"));
    connect(add, &QAction::triggered, this, [this, word] {
        const bool kept = m_check.addWord(word);
        markScreen();
        if (!kept)
            m_prompts.notify(m_check.wordsNotKept());
    });
    m_entries << ignore << add;
    return m_entries;
}

void LiveSpelling::replaceWord(qint64 start, const QString &source, const QString &written)
{
    if (m_page.textRange(start, source.size()) != source)
        return;
    m_page.setSelectionStart(start);
    m_page.setSelectionLength(source.size());
    const Colour colour = m_page.insertionColour();
    const bool bold = m_page.insertionBold();
    m_page.setInsertionColour(m_page.colourAt(start));
    m_page.setInsertionBold(m_page.boldAt(start));
    auto command = std::make_unique<TextCmd>();
    command->Initialize(m_page, written);
    m_history.AgregarComando(std::move(command));
    m_page.setInsertionColour(colour);
    m_page.setInsertionBold(bold);
}

} // namespace zendral
