#include "backgroundframe.h"

#include "colourchoice.h"
#include "dialogconventions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace zendral {

BackgroundFrame::BackgroundFrame(QWidget *parent) : QGroupBox(QStringLiteral("Fondo"), parent)
{
    setObjectName(QStringLiteral("frmfondo"));
    auto *form = new QFormLayout(this);
    m_colour = new QComboBox(this);
    m_colour->setObjectName(QStringLiteral("cmbcolor"));
    form->addRow(makeLabel(this, QStringLiteral("lblcolor"), QStringLiteral("Color:")), m_colour);
    m_customColour = makeTextBox(this, QStringLiteral("txtcolor"), designTexts::CustomColourBox);
    form->addRow(makeLabel(this, QStringLiteral("lblcolortextopersonalizado"),
                           QStringLiteral("Color personalizado:")),
                 m_customColour);
    m_image = makeTextBox(this, QStringLiteral("txtimagen"));
    form->addRow(makeLabel(this, QStringLiteral("lblimagen"), QStringLiteral("Imágen:")), m_image);
    setUpColourChoice(*m_colour, *m_customColour, designTexts::PersonalColour, designTexts::Prompt);
}

ColourField BackgroundFrame::colour() const
{
    return {m_colour->currentText(), m_customColour->text()};
}

QString BackgroundFrame::image() const
{
    return m_image->text();
}

} // namespace zendral
