#include "boxdialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString LayoutFrame = QStringLiteral("Disposición");
const Caption Align{QStringLiteral("lblalign"), QStringLiteral("Aleneamiento:")};
const QString SizeFrame = QStringLiteral("Tamaño");
const Caption Width{QStringLiteral("lblancho"), QStringLiteral("Ancho:")};
const Caption Height{QStringLiteral("lblalto"), QStringLiteral("Alto:")};
const QString BackgroundFrame = QStringLiteral("Fondo");
const Caption Colour{QStringLiteral("lblcolor"), QStringLiteral("Color:")};
const Caption CustomColour{QStringLiteral("lblcolortextopersonalizado"),
                           QStringLiteral("Color personalizado:")};
const Caption Image{QStringLiteral("lblimagen"), QStringLiteral("Imágen:")};
} // namespace captions

} // namespace

BoxDialog::BoxDialog(PageText &page, QWidget *parent)
    : TagDialog(page, parent, colours::DarkGreen, OnCancel::LeaveSurface)
{}

FormBuilder &BoxDialog::addLayoutFrame()
{
    m_layoutRows.emplace(this, QStringLiteral("frmdisposicion"), captions::LayoutFrame);
    m_align = m_layoutRows->listRow(
        captions::Align, QStringLiteral("cmbalign"),
        {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")},
        designTexts::Prompt);
    return *m_layoutRows;
}

void BoxDialog::finish(const QList<QWidget *> &above, const QString &objectName,
                       const QString &caption)
{
    FormBuilder size(this, QStringLiteral("frmtamano"), captions::SizeFrame);
    m_width = size.textRow(captions::Width, QStringLiteral("txtancho"));
    m_height = size.textRow(captions::Height, QStringLiteral("txtalto"));

    FormBuilder background(this, QStringLiteral("frmfondo"), captions::BackgroundFrame);
    m_colour = background.colourRow(captions::Colour, QStringLiteral("cmbcolor"),
                                    captions::CustomColour, QStringLiteral("txtcolor"),
                                    designTexts::PersonalColour, designTexts::Prompt);
    m_image = background.textRow(captions::Image, QStringLiteral("txtimagen"));

    auto *frames = new QVBoxLayout;
    for (QWidget *frame :
         above + QList<QWidget *>{m_layoutRows->frame(), size.frame(), background.frame()})
        frames->addWidget(frame);
    setContents(frames, objectName, caption);
}

} // namespace zendral
