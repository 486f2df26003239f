#include "findstrip.h"

#include "editingsurface.h"
#include "textsearch.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

namespace zendral {

namespace {

namespace captions {
const QString Line = QStringLiteral("Ir a la &línea:");
const QString GoToLine = QStringLiteral("Ir a la línea");
const QString SearchBox = QStringLiteral("Texto que se busca");
const QString Find = QStringLiteral("Buscar");
const QString FindNext = QStringLiteral("Siguiente");
const QString MatchCase = QStringLiteral("Mayusculas y Minisculas");
// Which occurrence the selection is, of how many the page holds.
const QString Count = QStringLiteral("%1 de %2");
// Every occurrence lies before the caret: the next search forward finds none.
const QString AllBefore = QStringLiteral("%1 antes del cursor");
} // namespace captions

// The background of an occurrence on screen: a marker pen, apart from the selection's colour.
const QColor MarkColour(255, 236, 120);

} // namespace

FindStrip::FindStrip(EditingSurface &view, Prompts &prompts, QWidget *parent)
    : QWidget(parent), m_view(view), m_page(view.page()), m_prompts(prompts),
      m_line(new QLineEdit(this)), m_search(new QLineEdit(this)),
      m_matchCase(new QCheckBox(captions::MatchCase, this)), m_count(new QLabel(this)),
      m_counter(new OccurrenceCounter(view.page(), this)), m_viewport(view.viewport())
{
    setObjectName(QStringLiteral("findStrip"));
    m_line->setObjectName(QStringLiteral("txtlinea"));
    m_line->setMaximumWidth(m_line->fontMetrics().averageCharWidth() * 10);
    m_search->setObjectName(QStringLiteral("txtBuscar"));
    // The box has no label of its own: the Find button beside it says what it is for.
    m_search->setAccessibleName(captions::SearchBox);
    // The box keeps its size when the window grows; the strip's end takes the rest.
    m_search->setFixedWidth(m_search->fontMetrics().averageCharWidth() * 24);
    m_matchCase->setObjectName(QStringLiteral("chkMayusMinus"));
    m_count->setObjectName(QStringLiteral("lblcoincidencias"));
    m_count->setTextFormat(Qt::PlainText);

    auto *lineLabel = new QLabel(captions::Line, this);
    lineLabel->setBuddy(m_line);
    // A picture button: the label before the box already says what it does.
    auto *goToLine = new QPushButton(this);
    goToLine->setObjectName(QStringLiteral("btnlinea"));
    goToLine->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    goToLine->setAccessibleName(captions::GoToLine);
    goToLine->setToolTip(captions::GoToLine);
    auto *find = new QPushButton(captions::Find, this);
    find->setObjectName(QStringLiteral("cmdBuscar"));
    auto *findNext = new QPushButton(captions::FindNext, this);
    findNext->setObjectName(QStringLiteral("cmdBuscarSiguiente"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lineLabel);
    layout->addWidget(m_line);
    layout->addWidget(goToLine);
    layout->addSpacing(lineLabel->fontMetrics().averageCharWidth() * 4);
    layout->addWidget(m_search);
    layout->addWidget(find);
    layout->addWidget(findNext);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_count);
    layout->addStretch();

    connect(goToLine, &QPushButton::clicked, this, &FindStrip::goToLine);
    connect(m_line, &QLineEdit::returnPressed, this, &FindStrip::goToLine);
    connect(find, &QPushButton::clicked, this, &FindStrip::findFirst);
    connect(findNext, &QPushButton::clicked, this, &FindStrip::findNext);

    m_search->installEventFilter(this);
    connect(m_search, &QLineEdit::textChanged, this, &FindStrip::searchChanged);
    connect(m_matchCase, &QCheckBox::toggled, this, &FindStrip::searchChanged);
    connect(m_counter, &OccurrenceCounter::counted, this, &FindStrip::showCount);
    // The counter starts again by itself on a change of the text; until it ends, the last count
    // stays, so that typing on a big page does not make the strip blink.
    connect(&m_page, &PageText::changed, this, [this] {
        showCount();
        scheduleMarks();
    });
    connect(&m_view, &QPlainTextEdit::cursorPositionChanged, this, &FindStrip::showCount);
    connect(&m_view, &QPlainTextEdit::selectionChanged, this, &FindStrip::showCount);
    connect(m_view.verticalScrollBar(), &QScrollBar::valueChanged, this, &FindStrip::scheduleMarks);
    m_viewport->installEventFilter(this);
}

bool FindStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport) {
        if (event->type() == QEvent::Resize)
            scheduleMarks();
        return false;
    }
    if (watched != m_search || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        findFromBox(key->modifiers().testFlag(Qt::ShiftModifier));
        return true;
    case Qt::Key_Escape:
        m_view.setFocus();
        return true;
    default:
        return false;
    }
}

void FindStrip::findFirst()
{
    BuscarTexto(m_page, m_prompts, m_search->text(), m_matchCase->isChecked());
}

void FindStrip::findNext()
{
    // One past the start of the current hit, so that overlapping hits are found too.
    BuscarTexto(m_page, m_prompts, m_search->text(), m_matchCase->isChecked(),
                m_page.selectionStart() + 1);
}

void FindStrip::findFromBox(bool backwards)
{
    const qint64 start = m_page.selectionStart();
    if (backwards) {
        findPrevious(m_page, m_prompts, m_search->text(), m_matchCase->isChecked(), start);
        return;
    }
    // Past the start of a selected hit, so that overlapping hits are found too; from the caret
    // itself when nothing is selected, so that a hit right there is not passed over.
    const qint64 from = m_page.selectionLength() > 0 ? start + 1 : start;
    findNextKeepingFocus(m_page, m_prompts, m_search->text(), m_matchCase->isChecked(), from);
}

Qt::CaseSensitivity FindStrip::sensitivity() const
{
    return m_matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

void FindStrip::searchChanged()
{
    m_counter->start(m_search->text(), sensitivity());
    // The last count was of another search: it says nothing of this one.
    // Clearing a label repaints it and lays its strip out again even when it is empty: this
    // runs on every keystroke in the box.
    if (!m_count->text().isEmpty())
        m_count->clear();
    showCount();
    scheduleMarks();
}

void FindStrip::scheduleMarks()
{
    // With nothing searched and nothing marked, an edit or a scroll has nothing to redo.
    if (m_marksScheduled || (m_search->text().isEmpty() && !m_marksShown))
        return;
    m_marksScheduled = true;
    QMetaObject::invokeMethod(this, &FindStrip::markOccurrences, Qt::QueuedConnection);
}

void FindStrip::markOccurrences()
{
    m_marksScheduled = false;
    QTextCharFormat format;
    format.setBackground(MarkColour);
    const auto [from, to] = m_view.shownLines();
    const QList<QTextEdit::ExtraSelection> marks =
        occurrencesIn(m_view.page(), from, to, m_search->text(), sensitivity(), format);
    m_marksShown = !marks.isEmpty();
    m_view.setHighlights(EditingSurface::HighlightLayer::Find, marks);
}

void FindStrip::showCount()
{
    if (!m_counter->isComplete())
        return;
    const qint64 start = m_page.selectionStart();
    const qint64 current = m_counter->indexOf(start, m_page.selectionLength());
    const qint64 total = m_counter->count();
    // Where Return in the box looks from: the strip must not say a hit lies ahead when that
    // search tells there is none.
    const qint64 from = m_page.selectionLength() > 0 ? start + 1 : start;
    const QString words = current == 0 && total > 0 && m_counter->countFrom(from) == 0
                              ? captions::AllBefore.arg(total)
                              : captions::Count.arg(current).arg(total);
    if (m_count->text() != words)
        m_count->setText(words);
}

void FindStrip::goToLine()
{
    bool whole = false;
    const int line = m_line->text().trimmed().toInt(&whole);
    // A box without a whole number names no line.
    if (whole)
        IrLinea(m_page, line);
}

} // namespace zendral
