#include "celldialog.h"

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

CellDialog::CellDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::DarkGreen, OnCancel::LeaveSurface)
{
    QGroupBox *style = makeFrame(this, QStringLiteral("frmestilo"), QStringLiteral("Estilo"));
    auto *styleForm = new QFormLayout(style);
    m_className = makeTextBox(style, QStringLiteral("txtclass"));
    styleForm->addRow(makeLabel(style, QStringLiteral("lblclass"), QStringLiteral("Class:")),
                      m_className);

    QGroupBox *layout =
        makeFrame(this, QStringLiteral("frmdisposicion"), QStringLiteral("Disposición"));
    auto *layoutForm = new QFormLayout(layout);
    m_align =
        makeChoiceList(layout, QStringLiteral("cmbalign"),
                       {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")},
                       designTexts::Prompt);
    layoutForm->addRow(
        makeLabel(layout, QStringLiteral("lblalign"), QStringLiteral("Aleneamiento:")), m_align);
    m_valign =
        makeChoiceList(layout, QStringLiteral("cmbvalign"),
                       {QStringLiteral("Top"), QStringLiteral("Middle"), QStringLiteral("Bottom")},
                       designTexts::Prompt);
    layoutForm->addRow(makeLabel(layout, QStringLiteral("lblvalign"), QStringLiteral("Valign:")),
                       m_valign);

    m_size = new SizeFrame(this);

    m_background = new BackgroundFrame(this);

    auto *frames = new QVBoxLayout;
    frames->addWidget(style);
    frames->addWidget(layout);
    frames->addWidget(m_size);
    frames->addWidget(m_background);
    setContents(frames, QStringLiteral("celda"), QStringLiteral("  Definición de celda"));
}

CellFields CellDialog::fields() const
{
    CellFields fields;
    fields.className = m_className->text();
    fields.align = m_align->currentText();
    fields.valign = m_valign->currentText();
    fields.width = m_size->width();
    fields.height = m_size->height();
    fields.colour = m_background->colour();
    fields.image = m_background->image();
    return fields;
}

QString CellDialog::fragment() const
{
    return cellTag(fields());
}

} // namespace zendral
