#include "findstrip.h"

#include "editingsurface.h"
#include "textsearch.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
} // namespace captions

} // namespace

FindStrip::FindStrip(EditingSurface &text1, Prompts &prompts, QWidget *parent)
    : QWidget(parent), m_text1(text1), m_prompts(prompts), m_line(new QLineEdit(this)),
      m_search(new QLineEdit(this)), m_matchCase(new QCheckBox(captions::MatchCase, this))
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
    layout->addStretch();

    connect(goToLine, &QPushButton::clicked, this, &FindStrip::goToLine);
    connect(m_line, &QLineEdit::returnPressed, this, &FindStrip::goToLine);
    connect(find, &QPushButton::clicked, this, &FindStrip::findFirst);
    connect(findNext, &QPushButton::clicked, this, &FindStrip::findNext);
}

void FindStrip::findFirst()
{
    BuscarTexto(m_text1, m_prompts, m_search->text(), m_matchCase->isChecked());
}

void FindStrip::findNext()
{
    // One past the start of the current hit, so that overlapping hits are found too.
    BuscarTexto(m_text1, m_prompts, m_search->text(), m_matchCase->isChecked(),
                m_text1.selectionStart() + 1);
}

void FindStrip::goToLine()
{
    bool whole = false;
    const int line = m_line->text().trimmed().toInt(&whole);
    // A box without a whole number names no line.
    if (whole)
        IrLinea(m_text1, line);
}

} // namespace zendral
