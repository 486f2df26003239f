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

DivDialog::DivDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::Blue, OnCancel::LeaveSurface)
{
    FormBuilder align(this);
    m_align =
        align.listRow(captions::Align, QStringLiteral("cmbalign"),
                      {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")},
                      designTexts::Prompt);

    FormBuilder layer(this, QStringLiteral("frmcapa"), captions::LayerFrame);
    m_position = layer.listRow(captions::Position, QStringLiteral("cmbposicion"),
                               {QStringLiteral("Absolute"), QStringLiteral("Relative")},
                               designTexts::Prompt);
    m_top = layer.textRow(captions::Top, QStringLiteral("txttop"));
    m_left = layer.textRow(captions::Left, QStringLiteral("txtleft"));
    m_zIndex = layer.textRow(captions::ZIndex, QStringLiteral("txtzindex"));
    m_height = layer.textRow(captions::Height, QStringLiteral("txtheight"));
    m_width = layer.textRow(captions::Width, QStringLiteral("txtwidth"));

    auto *layout = new QVBoxLayout;
    layout->addLayout(align.layout());
    layout->addWidget(layer.frame());
    setContents(layout, QStringLiteral("div"), captions::Title);
}

QString DivDialog::fragment() const
{
    DivFields fields;
    fields.align = m_align->currentText();
    fields.position = m_position->currentText();
    fields.top = m_top->text();
    fields.left = m_left->text();
    fields.zIndex = m_zIndex->text();
    fields.height = m_height->text();
    fields.width = m_width->text();
    return divTag(fields);
}

} // namespace zendral
