#include "fontdialog.h"

#include "dialogconventions.h"
#include "formbuilder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Etiqueta FONT");
const Caption Group{QStringLiteral("lblgrupo"), QStringLiteral("Tipografía:")};
const Caption Face{QStringLiteral("lblfuente"), QStringLiteral("Tipografía personalizada:")};
const Caption Size{QStringLiteral("lbltamano"), QStringLiteral("Tamaño:")};
const Caption Colour{QStringLiteral("lblcolor"), QStringLiteral("Color:")};
const Caption CustomColour{QStringLiteral("lblcolorpersonalizado"),
                           QStringLiteral("Color personalizado:")};
} // namespace captions

// Index of "Fuente personalizáda" in the list of font groups.
constexpr int CustomFontIndex = 7;

} // namespace

FontDialog::FontDialog(PageText &page, QWidget *parent)
    : TagDialog(page, parent, colours::Blue, OnCancel::LeaveSurface)
{
    FormBuilder form(this);
    m_group = m_fields.bind(form.listRow(captions::Group, QStringLiteral("cmbgrupo"),
                                         {QStringLiteral("Arial, Helvetica, sans-serif"),
                                          QStringLiteral("Times New Roman, Times, serif"),
                                          QStringLiteral("Courier New, Courier, mono"),
                                          QStringLiteral("Georgia, Times New Roman, Times, serif"),
                                          QStringLiteral("Verdana, Arial, Helvetica, sans-serif"),
                                          QStringLiteral("Geneva, Arial, Helvetica, sans-serif"),
                                          designTexts::Separator, designTexts::CustomFont},
                                         designTexts::FontGroupPrompt),
                            &FontFields::group);
    m_customFace = m_fields.bind(form.textRow(captions::Face, QStringLiteral("txtfuente")),
                                 &FontFields::customFace);
    m_fields.bind(form.listRow(captions::Size, QStringLiteral("cmbtamano"),
                               {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                                QStringLiteral("7")},
                               designTexts::Prompt),
                  &FontFields::size);
    m_fields.bind(form.colourRow(captions::Colour, QStringLiteral("cmbcolor"),
                                 captions::CustomColour, QStringLiteral("txtcolor"),
                                 designTexts::CustomColour, designTexts::ColourPrompt),
                  &FontFields::colour);
    // As with the colours, typing a family makes the list show the custom item.
    followCustomBox(*m_group, *m_customFace, CustomFontIndex);
    setContents(form.layout(), QStringLiteral("fuente"), captions::Title);
}

QString FontDialog::fragment() const
{
    return fontTag(m_fields.read());
}

} // namespace zendral
