#include "findreplacedialog.h"

#include "dialogconventions.h"
#include "pagetext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Buscar y reemplazar");
const QString Search = QStringLiteral("&Buscar:");
const QString Replacement = QStringLiteral("Reemplazar &por:");
const QString MatchCase = QStringLiteral("&Mayúsculas y minúsculas");
const QString WholeWord = QStringLiteral("Palabra &completa");
const QString Expression = QStringLiteral("&Expresión regular");
const QString SelectionOnly = QStringLiteral("Solo en la &selección");
const QString Wrap = QStringLiteral("Dar la &vuelta");
const QString FindNext = QStringLiteral("Buscar si&guiente");
const QString FindPrevious = QStringLiteral("Buscar &anterior");
const QString Replace = QStringLiteral("&Reemplazar");
const QString ReplaceAll = QStringLiteral("Reemplazar &todo");
const QString Close = QStringLiteral("Cerrar");
const QString Place = QStringLiteral("%1 de %2");
const QString WrappedToStart = QStringLiteral("%1 de %2 (se ha seguido desde el principio)");
const QString WrappedToEnd = QStringLiteral("%1 de %2 (se ha seguido desde el final)");
const QString NotFound = QStringLiteral("No se ha encontrado %1");
const QString OneReplaced = QStringLiteral("Se reemplazó 1 aparición");
const QString ManyReplaced = QStringLiteral("Se reemplazaron %1 apariciones");
} // namespace captions

// Entries each box remembers.
constexpr int Remembered = 10;

// What each box was given in this run, newest first, shared by every window's dialog.
QStringList &searchesGiven()
{
    static QStringList given;
    return given;
}
QStringList &replacementsGiven()
{
    static QStringList given;
    return given;
}

QComboBox *makeBox(QWidget *parent, const QString &name, const QStringList &given)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxCount(Remembered);
    box->addItems(given);
    box->setEditText(QString());
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 36);
    return box;
}

// Puts the box's text first in its list and in the run's memory.
void remember(QComboBox &box, QStringList &given)
{
    const QString text = box.currentText();
    if (text.isEmpty())
        return;
    given.removeAll(text);
    given.prepend(text);
    while (given.size() > Remembered)
        given.removeLast();
    const QSignalBlocker quiet(&box);
    box.clear();
    box.addItems(given);
    box.setEditText(text);
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QCheckBox *makeCheck(QWidget *parent, const QString &name, const QString &caption)
{
    auto *check = new QCheckBox(caption, parent);
    check->setObjectName(name);
    return check;
}

} // namespace

FindReplaceDialog::FindReplaceDialog(PageText &page, QWidget *parent)
    : QDialog(parent), m_page(page), m_finder(page),
      m_search(makeBox(this, QStringLiteral("txtbuscarr"), searchesGiven())),
      m_replacement(makeBox(this, QStringLiteral("txtreemplazarr"), replacementsGiven())),
      m_matchCase(makeCheck(this, QStringLiteral("chkmayusculas"), captions::MatchCase)),
      m_wholeWord(makeCheck(this, QStringLiteral("chkpalabra"), captions::WholeWord)),
      m_expression(makeCheck(this, QStringLiteral("chkregex"), captions::Expression)),
      m_selectionOnly(makeCheck(this, QStringLiteral("chkseleccion"), captions::SelectionOnly)),
      m_wrap(makeCheck(this, QStringLiteral("chkvuelta"), captions::Wrap)),
      m_result(new QLabel(this))
{
    m_wrap->setChecked(true);
    m_result->setObjectName(QStringLiteral("lblresultado"));
    // What the status line says may quote the page or the author's expression.
    m_result->setTextFormat(Qt::PlainText);
    m_result->setMinimumWidth(m_search->minimumWidth());

    auto *boxes = new QGridLayout;
    const auto label = [this](const QString &caption, QWidget *buddy) {
        auto *result = new QLabel(caption, this);
        result->setBuddy(buddy);
        return result;
    };
    boxes->addWidget(label(captions::Search, m_search), 0, 0);
    boxes->addWidget(m_search, 0, 1);
    boxes->addWidget(label(captions::Replacement, m_replacement), 1, 0);
    boxes->addWidget(m_replacement, 1, 1);
    auto *options = new QGridLayout;
    options->addWidget(m_matchCase, 0, 0);
    options->addWidget(m_wholeWord, 0, 1);
    options->addWidget(m_expression, 1, 0);
    options->addWidget(m_selectionOnly, 1, 1);
    options->addWidget(m_wrap, 2, 0);

    auto *findNext = makeButton(this, QStringLiteral("btnbuscarsig"), captions::FindNext);
    // Enter in the boxes finds the next hit.
    findNext->setDefault(true);
    auto *findPrevious = makeButton(this, QStringLiteral("btnbuscarant"), captions::FindPrevious);
    auto *replace = makeButton(this, QStringLiteral("btnreemplazar"), captions::Replace);
    auto *replaceAll = makeButton(this, QStringLiteral("btnreemplazartodo"), captions::ReplaceAll);
    auto *close = makeButton(this, QStringLiteral("btncerrar"), captions::Close);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {findNext, findPrevious, replace, replaceAll, close})
        buttons->addWidget(button);
    buttons->addStretch();

    auto *left = new QVBoxLayout;
    left->addLayout(boxes);
    left->addLayout(options);
    left->addWidget(m_result);
    left->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);
    prepareDialog(*this, QStringLiteral("buscarreemplazar"), captions::Title);
    // The author edits the page with the dialog open.
    setModal(false);

    connect(findNext, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(findPrevious, &QPushButton::clicked, this, &FindReplaceDialog::findPrevious);
    connect(replace, &QPushButton::clicked, this, &FindReplaceDialog::replace);
    connect(replaceAll, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_selectionOnly, &QCheckBox::toggled, this, &FindReplaceDialog::selectionOnlyToggled);
    connect(&page, &PageText::textEdited, this, &FindReplaceDialog::followEdit);
}

void FindReplaceDialog::present()
{
    const QString selected = m_page.selectedText();
    if (selected.contains(u'\r') || selected.contains(u'\n')) {
        m_selectionOnly->setChecked(false);
        m_selectionOnly->setChecked(true);
    } else if (!selected.isEmpty()) {
        m_search->setEditText(selected);
    }
    show();
    raise();
    activateWindow();
    m_search->setFocus();
    m_search->lineEdit()->selectAll();
}

std::optional<SearchPattern> FindReplaceDialog::pattern()
{
    m_result->clear();
    if (m_search->currentText().isEmpty())
        return std::nullopt;
    remember(*m_search, searchesGiven());
    SearchPattern result(m_search->currentText(), {.matchCase = m_matchCase->isChecked(),
                                                   .wholeWord = m_wholeWord->isChecked(),
                                                   .regularExpression = m_expression->isChecked()});
    if (!result.error().isEmpty()) {
        m_result->setText(result.error());
        return std::nullopt;
    }
    return result;
}

std::optional<PageFinder::Stretch> FindReplaceDialog::within() const
{
    if (!m_selectionOnly->isChecked())
        return std::nullopt;
    // Checked with nothing selected: an empty stretch, where nothing is found.
    return m_stretch.value_or(PageFinder::Stretch{});
}

void FindReplaceDialog::find(PageFinder::Direction direction)
{
    const std::optional<SearchPattern> search = pattern();
    if (search)
        showFound(m_finder.find(*search, direction, m_wrap->isChecked(), within()), direction);
}

void FindReplaceDialog::showFound(const std::optional<PageFinder::Found> &found,
                                  PageFinder::Direction direction)
{
    if (!found) {
        m_result->setText(captions::NotFound.arg(m_search->currentText()));
        return;
    }
    const QString &words = !found->wrapped                               ? captions::Place
                           : direction == PageFinder::Direction::Forward ? captions::WrappedToStart
                                                                         : captions::WrappedToEnd;
    m_result->setText(words.arg(found->index).arg(found->total));
}

void FindReplaceDialog::findNext()
{
    find(PageFinder::Direction::Forward);
}

void FindReplaceDialog::findPrevious()
{
    find(PageFinder::Direction::Backward);
}

void FindReplaceDialog::replace()
{
    const std::optional<SearchPattern> search = pattern();
    if (!search)
        return;
    remember(*m_replacement, replacementsGiven());
    m_finder.replaceSelection(*search, m_replacement->currentText(), within());
    showFound(m_finder.find(*search, PageFinder::Direction::Forward, m_wrap->isChecked(), within()),
              PageFinder::Direction::Forward);
}

void FindReplaceDialog::replaceAll()
{
    const std::optional<SearchPattern> search = pattern();
    if (!search)
        return;
    remember(*m_replacement, replacementsGiven());
    const qint64 count = m_finder.replaceAll(*search, m_replacement->currentText(), within());
    if (count == 0)
        m_result->setText(captions::NotFound.arg(m_search->currentText()));
    else
        m_result->setText(count == 1 ? captions::OneReplaced : captions::ManyReplaced.arg(count));
}

void FindReplaceDialog::selectionOnlyToggled(bool on)
{
    m_stretch.reset();
    if (on && m_page.selectionLength() > 0)
        m_stretch = PageFinder::Stretch{m_page.selectionStart(),
                                        m_page.selectionStart() + m_page.selectionLength()};
}

void FindReplaceDialog::followEdit(qint64 start, qint64 removed, qint64 added)
{
    if (!m_stretch)
        return;
    PageFinder::Stretch &stretch = *m_stretch;
    const qint64 shift = added - removed;
    if (start + removed <= stretch.start && !(removed == 0 && start == stretch.start)) {
        stretch.start += shift;
        stretch.end += shift;
    } else if (start <= stretch.end) {
        // An edit inside the stretch (or reaching into it) grows or shrinks it; text written
        // at its very start belongs to it.
        stretch.start = std::min(stretch.start, start);
        stretch.end = std::max(stretch.start, std::max(stretch.end + shift, start + added));
    }
}

} // namespace zendral
