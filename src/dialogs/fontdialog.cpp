#include "fontdialog.h"

#include "colourchoice.h"
#include "dialogconventions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace zendral {

namespace {

// Index of "Fuente personalizáda" in the list of font groups.
constexpr int CustomFontIndex = 7;

const QStringList &fontGroups()
{
    static const QStringList groups = {
        QStringLiteral("Arial, Helvetica, sans-serif"),
        QStringLiteral("Times New Roman, Times, serif"),
        QStringLiteral("Courier New, Courier, mono"),
        QStringLiteral("Georgia, Times New Roman, Times, serif"),
        QStringLiteral("Verdana, Arial, Helvetica, sans-serif"),
        QStringLiteral("Geneva, Arial, Helvetica, sans-serif"),
        designTexts::Separator,
        designTexts::CustomFont,
    };
    return groups;
}

} // namespace

FontDialog::FontDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::Blue, OnCancel::LeaveSurface)
{
    auto *form = new QFormLayout;
    m_group = makeChoiceList(this, QStringLiteral("cmbgrupo"), fontGroups(),
                             designTexts::FontGroupPrompt);
    form->addRow(makeLabel(this, QStringLiteral("lblgrupo"), QStringLiteral("Tipografía:")),
                 m_group);
    m_customFace = makeTextBox(this, QStringLiteral("txtfuente"));
    form->addRow(
        makeLabel(this, QStringLiteral("lblfuente"), QStringLiteral("Tipografía personalizada:")),
        m_customFace);
    m_size = makeChoiceList(this, QStringLiteral("cmbtamano"),
                            {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                             QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                             QStringLiteral("7")},
                            designTexts::Prompt);
    form->addRow(makeLabel(this, QStringLiteral("lbltamano"), QStringLiteral("Tamaño:")), m_size);
    m_colour = new QComboBox(this);
    m_colour->setObjectName(QStringLiteral("cmbcolor"));
    form->addRow(makeLabel(this, QStringLiteral("lblcolor"), QStringLiteral("Color:")), m_colour);
    m_customColour = makeTextBox(this, QStringLiteral("txtcolor"), designTexts::CustomColourBox);
    form->addRow(makeLabel(this, QStringLiteral("lblcolorpersonalizado"),
                           QStringLiteral("Color personalizado:")),
                 m_customColour);

    setUpColourChoice(*m_colour, *m_customColour, designTexts::CustomColour,
                      designTexts::ColourPrompt);
    // As with the colours, typing a family makes the list show the custom item.
    connect(m_customFace, &QLineEdit::textChanged, m_group,
            [this] { showItem(*m_group, CustomFontIndex); });

    setContents(form, QStringLiteral("fuente"), QStringLiteral("  Etiqueta FONT"));
}

FontFields FontDialog::fields() const
{
    FontFields fields;
    fields.group = m_group->currentText();
    fields.customFace = m_customFace->text();
    fields.size = m_size->currentText();
    fields.colour = {m_colour->currentText(), m_customColour->text()};
    return fields;
}

QString FontDialog::fragment() const
{
    return fontTag(fields());
}

} // namespace zendral
