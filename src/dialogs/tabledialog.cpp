#include "tabledialog.h"

#include "backgroundframe.h"
#include "dialogconventions.h"
#include "sizeframe.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zendral {

TableDialog::TableDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::DarkGreen, OnCancel::LeaveSurface)
{
    QGroupBox *layout =
        makeFrame(this, QStringLiteral("frmdisposicion"), QStringLiteral("Disposición"));
    auto *layoutForm = new QFormLayout(layout);
    m_align =
        makeChoiceList(layout, QStringLiteral("cmbalign"),
                       {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")},
                       designTexts::Prompt);
    layoutForm->addRow(
        makeLabel(layout, QStringLiteral("lblalign"), QStringLiteral("Aleneamiento:")), m_align);
    m_cellSpacing = makeTextBox(layout, QStringLiteral("txtcellspacing"), designTexts::Zero);
    layoutForm->addRow(
        makeLabel(layout, QStringLiteral("lblcellspacing"), QStringLiteral("CellSpacing:")),
        m_cellSpacing);
    m_cellPadding = makeTextBox(layout, QStringLiteral("txtcellpadding"), designTexts::Zero);
    layoutForm->addRow(
        makeLabel(layout, QStringLiteral("lblcellpadding"), QStringLiteral("CellPadding:")),
        m_cellPadding);
    m_border = makeTextBox(layout, QStringLiteral("txtborder"), designTexts::Zero);
    layoutForm->addRow(makeLabel(layout, QStringLiteral("lblborder"), QStringLiteral("Borde:")),
                       m_border);
    m_className = makeTextBox(layout, QStringLiteral("txtclass"));
    layoutForm->addRow(makeLabel(layout, QStringLiteral("lblclass"), QStringLiteral("Class:")),
                       m_className);

    m_size = new SizeFrame(this);

    m_background = new BackgroundFrame(this);

    auto *frames = new QVBoxLayout;
    frames->addWidget(layout);
    frames->addWidget(m_size);
    frames->addWidget(m_background);
    setContents(frames, QStringLiteral("tabla"), QStringLiteral("  Definición de tabla"));
}

TableFields TableDialog::fields() const
{
    TableFields fields;
    fields.align = m_align->currentText();
    fields.cellSpacing = m_cellSpacing->text();
    fields.cellPadding = m_cellPadding->text();
    fields.border = m_border->text();
    fields.className = m_className->text();
    fields.width = m_size->width();
    fields.height = m_size->height();
    fields.colour = m_background->colour();
    fields.image = m_background->image();
    return fields;
}

QString TableDialog::fragment() const
{
    return tableTag(fields());
}

} // namespace zendral
