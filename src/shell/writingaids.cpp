#include "writingaids.h"

#include "closingtag.h"
#include "editingsurface.h"
#include "editorevents.h"

#include <QKeyEvent>
#include <QListWidget>
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
    m_list = new QListWidget(view.viewport());
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
    m_place = place;
    m_list->clear();
    for (const Suggestion &entry : m_entries)
        m_list->addItem(entry.shown);
    m_list->setCurrentRow(0);

    const int rows = std::min<int>(ShownRows, int(m_entries.size()));
    const int frame = 2 * m_list->frameWidth();
    const int width = std::min(420, m_list->sizeHintForColumn(0) + frame +
                                        m_list->verticalScrollBar()->sizeHint().width() + 8);
    const int height = rows * m_list->sizeHintForRow(0) + frame;
    const QRect caret = m_view.cursorRect();
    const QRect area = m_view.viewport()->rect();
    int top = caret.bottom() + 2;
    // Above the line when it does not fit below it.
    if (top + height > area.bottom() && caret.top() - height - 2 >= 0)
        top = caret.top() - height - 2;
    const int left = std::clamp(caret.left(), 0, std::max(0, area.width() - width));
    m_list->setGeometry(left, top, width, height);
    m_list->show();
    m_list->raise();
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
