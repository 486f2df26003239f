#include "divdialog.h"

#include "dialogconventions.h"
#include "formbuilder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Etiqueta DIV");
const QString LayerFrame = QStringLiteral("DIV en modo capa:");
const Caption Align{QStringLiteral("lblalign"), QStringLiteral("Alineación:")};
const Caption Position{QStringLiteral("lblposicion"), QStringLiteral("Posición:")};
const Caption Top{QStringLiteral("lbltop"), QStringLiteral("Top:")};
const Caption Left{QStringLiteral("lblleft"), QStringLiteral("Left:")};
const Caption ZIndex{QStringLiteral("lblzindex"), QStringLiteral("Z-index:")};
const Caption Height{QStringLiteral("lblheight"), QStringLiteral("Height:")};
const Caption Width{QStringLiteral("lblwidth"), QStringLiteral("Width:")};
} // namespace captions

} // namespace

DivDialog::DivDialog(PageText &page, QWidget *parent)
    : TagDialog(page, parent, colours::Blue, OnCancel::LeaveSurface)
{
    FormBuilder align(this);
    m_fields.bind(
        align.listRow(captions::Align, QStringLiteral("cmbalign"),
                      {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")},
                      designTexts::Prompt),
        &DivFields::align);

    FormBuilder layer(this, QStringLiteral("frmcapa"), captions::LayerFrame);
    m_fields.bind(layer.listRow(captions::Position, QStringLiteral("cmbposicion"),
                                {QStringLiteral("Absolute"), QStringLiteral("Relative")},
                                designTexts::Prompt),
                  &DivFields::position);
    m_fields.bind(layer.textRow(captions::Top, QStringLiteral("txttop")), &DivFields::top);
    m_fields.bind(layer.textRow(captions::Left, QStringLiteral("txtleft")), &DivFields::left);
    m_fields.bind(layer.textRow(captions::ZIndex, QStringLiteral("txtzindex")), &DivFields::zIndex);
    m_fields.bind(layer.textRow(captions::Height, QStringLiteral("txtheight")), &DivFields::height);
    m_fields.bind(layer.textRow(captions::Width, QStringLiteral("txtwidth")), &DivFields::width);

    auto *layout = new QVBoxLayout;
    layout->addLayout(align.layout());
    layout->addWidget(layer.frame());
    setContents(layout, QStringLiteral("div"), captions::Title);
}

QString DivDialog::fragment() const
{
    return divTag(m_fields.read());
}

} // namespace zendral
