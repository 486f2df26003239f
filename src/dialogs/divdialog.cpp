#include "divdialog.h"

#include "dialogconventions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zendral {

DivDialog::DivDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::Blue, OnCancel::LeaveSurface)
{
    auto *alignForm = new QFormLayout;
    m_align =
        makeChoiceList(this, QStringLiteral("cmbalign"),
                       {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")},
                       designTexts::Prompt);
    alignForm->addRow(makeLabel(this, QStringLiteral("lblalign"), QStringLiteral("Alineación:")),
                      m_align);

    QGroupBox *layerFrame =
        makeFrame(this, QStringLiteral("frmcapa"), QStringLiteral("DIV en modo capa:"));
    auto *layerForm = new QFormLayout(layerFrame);
    m_position = makeChoiceList(layerFrame, QStringLiteral("cmbposicion"),
                                {QStringLiteral("Absolute"), QStringLiteral("Relative")},
                                designTexts::Prompt);
    layerForm->addRow(
        makeLabel(layerFrame, QStringLiteral("lblposicion"), QStringLiteral("Posición:")),
        m_position);
    const auto addBox = [&](const QString &labelName, const QString &label,
                            const QString &boxName) {
        QLineEdit *box = makeTextBox(layerFrame, boxName);
        layerForm->addRow(makeLabel(layerFrame, labelName, label), box);
        return box;
    };
    m_top = addBox(QStringLiteral("lbltop"), QStringLiteral("Top:"), QStringLiteral("txttop"));
    m_left = addBox(QStringLiteral("lblleft"), QStringLiteral("Left:"), QStringLiteral("txtleft"));
    m_zIndex = addBox(QStringLiteral("lblzindex"), QStringLiteral("Z-index:"),
                      QStringLiteral("txtzindex"));
    m_height =
        addBox(QStringLiteral("lblheight"), QStringLiteral("Height:"), QStringLiteral("txtheight"));
    m_width =
        addBox(QStringLiteral("lblwidth"), QStringLiteral("Width:"), QStringLiteral("txtwidth"));

    auto *layout = new QVBoxLayout;
    layout->addLayout(alignForm);
    layout->addWidget(layerFrame);
    setContents(layout, QStringLiteral("div"), QStringLiteral("  Etiqueta DIV"));
}

DivFields DivDialog::fields() const
{
    DivFields fields;
    fields.align = m_align->currentText();
    fields.position = m_position->currentText();
    fields.top = m_top->text();
    fields.left = m_left->text();
    fields.zIndex = m_zIndex->text();
    fields.height = m_height->text();
    fields.width = m_width->text();
    return fields;
}

QString DivDialog::fragment() const
{
    return divTag(fields());
}

} // namespace zendral
