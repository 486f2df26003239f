#include "backgroundframe.h"

#include <QGridLayout>
#include <QLineEdit>

namespace zendral {

namespace {

namespace captions {
const QString Frame = QStringLiteral("Fondo");
const Caption Colour{QStringLiteral("lblcolor"), QStringLiteral("Color:")};
const Caption CustomColour{QStringLiteral("lblcolortextopersonalizado"),
                           QStringLiteral("Color personalizado:")};
const Caption Image{QStringLiteral("lblimagen"), QStringLiteral("Imágen:")};
} // namespace captions

} // namespace

BackgroundFrame::BackgroundFrame(QWidget *parent) : QGroupBox(captions::Frame, parent)
{
    setObjectName(QStringLiteral("frmfondo"));
    FormBuilder form(this);
    setLayout(form.layout());
    m_colour = form.colourRow(captions::Colour, QStringLiteral("cmbcolor"), captions::CustomColour,
                              QStringLiteral("txtcolor"), designTexts::PersonalColour,
                              designTexts::Prompt);
    m_image = form.textRow(captions::Image, QStringLiteral("txtimagen"));
}

ColourField BackgroundFrame::colour() const
{
    return m_colour.read();
}

QString BackgroundFrame::image() const
{
    return m_image->text();
}

} // namespace zendral
