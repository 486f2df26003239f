#include "writingaids.h"

#include "closingtag.h"
#include "editingsurface.h"
#include "editorevents.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace zendral {

namespace {

// The rows the list shows at once; the rest are reached by moving in it.
constexpr int ShownRows = 8;
// A place further from the caret than this is no longer being typed at.
constexpr qint64 LongestEntry = 256;

// The character that opened an entry of that kind, just before its start.
bool opensEntry(const SuggestionPlace &place, QChar c)
{
    switch (place.kind) {
    case SuggestionKind::Tag:
        return c == u'<';
    case SuggestionKind::ServerBlock:
        return c == u'%';
    case SuggestionKind::Reference:
        return c == u'&';
    case SuggestionKind::Attribute:
        return c.isSpace();
    case SuggestionKind::Value:
        return place.quote.isNull() ? c == u'=' : c == place.quote;
    }
    return false;
}

} // namespace

WritingAids::WritingAids(EditingSurface &view, EditorEvents &events, QStringList table,
                         std::function<QString()> folder, QObject *parent)
    : QObject(parent), m_view(view), m_events(events), m_table(std::move(table)),
      m_folder(std::move(folder))
{
    // A window of its own above the text: showing and hiding it leaves the text's lines
    // unpainted, where a child of the view would have them painted again at every change.
    m_list = new QListWidget(&view);
    m_list->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    m_list->setAttribute(Qt::WA_ShowWithoutActivating);
    m_list->setObjectName(QStringLiteral("sugerencias"));
    // The keyboard stays in the text: the list is read, never typed into.
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setUniformItemSizes(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->hide();
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        m_list->setCurrentItem(item);
        take();
    });
    events.setTypingFollower(this);
    view.installEventFilter(this);
    // Queued: the caret moves while the page is still taking in an edit.
    connect(&view, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        // A closing tag is confirmed by keys typed right after it, the caret never moved.
        if (!m_written.isEmpty() && m_view.textCursor().position() != m_writtenEndInView)
            m_written.clear();
        if (m_place)
            QMetaObject::invokeMethod(this, &WritingAids::follow, Qt::QueuedConnection);
    });
}

WritingAids::~WritingAids()
{
    m_events.setTypingFollower(nullptr);
}

void WritingAids::setClosingTagsEnabled(bool enabled)
{
    m_closingTags = enabled;
    m_written.clear();
}

void WritingAids::setSuggestionsEnabled(bool enabled)
{
    m_suggestions = enabled;
    if (!enabled)
        hide();
}

bool WritingAids::confirms(char32_t character)
{
    if (m_written.isEmpty())
        return false;
    const PageText &page = m_view.page();
    const bool inPlace = page.selectionStart() == m_writtenEnd && page.selectionLength() == 0;
    if (!inPlace || character != m_written.at(m_confirmed).unicode()) {
        m_written.clear();
        return false;
    }
    if (++m_confirmed == m_written.size())
        m_written.clear();
    return true;
}

void WritingAids::typed(char32_t character)
{
    PageText &page = m_view.page();
    if (character == u'/' && m_closingTags) {
        const qint64 before = page.selectionStart();
        if (closeInnermostTag(page, m_events.history(), m_table)) {
            m_writtenEnd = page.selectionStart();
            m_written = page.textRange(before, m_writtenEnd - before);
            m_writtenEndInView = m_view.textCursor().position();
            m_confirmed = 0;
            hide();
            return;
        }
    }
    if (!m_suggestions)
        return;
    if (m_place) {
        follow();
        if (m_place)
            return;
    }
    if (const std::optional<SuggestionPlace> place = suggestionPlaceAfter(page, character))
        show(*place);
}

void WritingAids::show(const SuggestionPlace &place)
{
    m_entries = suggestionsFor(place, m_folder ? m_folder() : QString());
    if (m_entries.isEmpty()) {
        hide();
        return;
    }
    const bool opening = !m_place || m_place->start != place.start;
    m_place = place;
    QStringList shown;
    for (const Suggestion &entry : m_entries)
        shown.append(entry.shown);
    // Most keys leave the entries as they were: the list is only rebuilt when they change.
    bool same = m_list->count() == shown.size();
    for (int row = 0; same && row < shown.size(); ++row)
        same = m_list->item(row)->text() == shown.at(row);
    if (!same) {
        m_list->clear();
        m_list->addItems(shown);
    }
    m_list->setCurrentRow(0);
    if (same && !opening && m_list->isVisible())
        return;

    const QFontMetrics metrics = m_list->fontMetrics();
    int widest = 0;
    for (const QString &text : shown)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    const int rows = std::min<int>(ShownRows, int(shown.size()));
    const int frame = 2 * m_list->frameWidth();
    const int width =
        std::min(420, widest + frame + m_list->verticalScrollBar()->sizeHint().width() + 16);
    const int height = rows * std::max(metrics.height(), m_list->sizeHintForRow(0)) + frame;
    // Under the typed part's start, above its line when the screen has no room below.
    const QRect caret = m_view.cursorRect();
    QPoint at = m_view.viewport()->mapToGlobal(caret.bottomLeft() + QPoint(0, 2));
    const QRect screen = m_view.screen()->availableGeometry();
    if (at.y() + height > screen.bottom())
        at.setY(m_view.viewport()->mapToGlobal(caret.topLeft()).y() - height - 2);
    at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() - width)));
    m_list->setGeometry(QRect(at, QSize(width, height)));
    m_list->show();
}

void WritingAids::hide()
{
    m_place.reset();
    m_entries.clear();
    m_list->hide();
}

void WritingAids::follow()
{
    if (!m_place)
        return;
    const PageText &page = m_view.page();
    const qint64 caret = page.selectionStart();
    const qint64 start = m_place->start;
    if (page.selectionLength() != 0 || caret < start || caret - start > LongestEntry ||
        caret > page.textLength() || start < 1 ||
        !opensEntry(*m_place, page.characterAt(start - 1))) {
        hide();
        return;
    }
    const QString typed = page.textRange(start, caret - start);
    if (typed == m_place->typed)
        return;
    const bool nameGoesOn = std::all_of(typed.begin(), typed.end(),
                                        [this](QChar c) { return continuesEntry(*m_place, c); });
    // A name is offered from its first letter on: with none left there is nothing to offer.
    const bool emptied = typed.isEmpty() && m_place->kind != SuggestionKind::Value;
    if (!nameGoesOn || emptied) {
        hide();
        return;
    }
    SuggestionPlace place = *m_place;
    place.typed = typed;
    show(place);
}

void WritingAids::take()
{
    const int row = m_list->currentRow();
    if (!m_place || row < 0 || row >= m_entries.size())
        return;
    const Suggestion entry = m_entries.at(row);
    const SuggestionPlace place = *m_place;
    hide();
    PageText &page = m_view.page();
    PageText::Operation operation(page);
    const qint64 caret = page.selectionStart();
    QString written = entry.written;
    // A closing quote already there is not written twice: the caret goes past it.
    const bool quoteThere = place.kind == SuggestionKind::Value && !written.endsWith(u'/') &&
                            page.characterAt(caret) == written.back();
    if (quoteThere)
        written.chop(1);
    page.setSelectionStart(place.start);
    page.setSelectionLength(caret - place.start);
    auto command = std::make_unique<TextCmd>();
    command->Initialize(page, written);
    m_events.history().AgregarComando(std::move(command));
    if (entry.caretBack > 0 || quoteThere)
        page.setSelectionStart(page.selectionStart() - entry.caretBack + (quoteThere ? 1 : 0));
    m_view.ensureCursorVisible();
    // An attribute taken goes on with its values, a folder with its files.
    if (!m_suggestions)
        return;
    const qint64 now = page.selectionStart();
    if (place.kind == SuggestionKind::Attribute) {
        if (const std::optional<SuggestionPlace> next = suggestionPlaceAfter(page, u'"'))
            show(*next);
    } else if (place.kind == SuggestionKind::Value && written.endsWith(u'/')) {
        SuggestionPlace next = place;
        next.quote = place.quote.isNull() ? QChar(u'"') : place.quote;
        next.start = place.start + (place.quote.isNull() ? 1 : 0);
        next.typed = page.textRange(next.start, now - next.start);
        show(next);
    }
}

void WritingAids::move(int rows)
{
    const int last = m_list->count() - 1;
    m_list->setCurrentRow(std::clamp(m_list->currentRow() + rows, 0, last));
}

bool WritingAids::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_view || !m_place)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        hide();
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~(Qt::KeypadModifier))
        return false;
    const int code = key->key();
    const bool ours = code == Qt::Key_Up || code == Qt::Key_Down || code == Qt::Key_PageUp ||
                      code == Qt::Key_PageDown || code == Qt::Key_Return || code == Qt::Key_Enter ||
                      code == Qt::Key_Tab || code == Qt::Key_Escape;
    if (!ours)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // The list's keys are its own while it shows, before any shortcut of the window.
        event->accept();
        return true;
    }
    switch (code) {
    case Qt::Key_Up:
        move(-1);
        break;
    case Qt::Key_Down:
        move(1);
        break;
    case Qt::Key_PageUp:
        move(-ShownRows);
        break;
    case Qt::Key_PageDown:
        move(ShownRows);
        break;
    case Qt::Key_Escape:
        hide();
        break;
    default:
        take();
        break;
    }
    return true;
}

} // namespace zendral
