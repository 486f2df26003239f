#include "bodydialog.h"

#include "formbuilder.h"

#include <QGridLayout>
#include <QLineEdit>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Etiqueta Body");
const Caption Background{QStringLiteral("lbl1"), QStringLiteral("Color de fondo:")};
const Caption BackgroundCustom{QStringLiteral("Label1"), QStringLiteral("Color personalizado:")};
const Caption Image{QStringLiteral("lbl2"), QStringLiteral("Imágen de fondo:")};
const Caption ImageHint{QStringLiteral("Label2"),
                        QStringLiteral("(Escribir ruta en formato HTML)")};
const Caption Text{QStringLiteral("lblcolortexto"), QStringLiteral("Color del texto:")};
const Caption TextCustom{QStringLiteral("lblcolortextopersonalizado"),
                         QStringLiteral("Color personalizado:")};
const Caption Link{QStringLiteral("lblcolorenlace"), QStringLiteral("Color del enlace:")};
const Caption LinkCustom{QStringLiteral("lblcolorenlacepersonalizado"),
                         QStringLiteral("Color personalizado:")};
const Caption Visited{QStringLiteral("lblenlacevisitado"),
                      QStringLiteral("Color del enlace visitado:")};
const Caption VisitedCustom{QStringLiteral("lblenlacevisitadopersonalizado"),
                            QStringLiteral("Color personalizado:")};
const Caption Active{QStringLiteral("lblenlaceactivo"), QStringLiteral("Color del enlace activo:")};
const Caption ActiveCustom{QStringLiteral("lblcolorenlaceactivopersonalizado"),
                           QStringLiteral("Color personalizado:")};
} // namespace captions

} // namespace

BodyDialog::BodyDialog(PageText &page, QWidget *parent)
    : TagDialog(page, parent, colours::Blue, OnCancel::CaretToEnd)
{
    // Each colour takes one row: its list, then its custom box.
    FormBuilder form(this, 2);
    const auto colourRow = [&](const Caption &caption, const QString &listName,
                               const Caption &customCaption, const QString &boxName) {
        return form.colourRow(caption, listName, customCaption, boxName, designTexts::CustomColour,
                              designTexts::ColourPrompt);
    };
    m_fields.bind(colourRow(captions::Background, QStringLiteral("cmbbackground"),
                            captions::BackgroundCustom, QStringLiteral("textcolorperso")),
                  &BodyFields::background);
    m_fields.bind(form.textRow(captions::Image, QStringLiteral("txtimagenfondo")),
                  &BodyFields::image);
    form.note(captions::ImageHint);
    m_fields.bind(colourRow(captions::Text, QStringLiteral("cmbcolortexto"), captions::TextCustom,
                            QStringLiteral("txtcolortexto")),
                  &BodyFields::text);
    m_fields.bind(colourRow(captions::Link, QStringLiteral("cmbcolorenlace"), captions::LinkCustom,
                            QStringLiteral("textcolorenlacepersonalizado")),
                  &BodyFields::link);
    m_fields.bind(colourRow(captions::Visited, QStringLiteral("cmbcolorenlacevisitado"),
                            captions::VisitedCustom,
                            QStringLiteral("txtenlacevisitadopersonalizado")),
                  &BodyFields::visitedLink);
    m_fields.bind(colourRow(captions::Active, QStringLiteral("cmbcolorenlaceactivo"),
                            captions::ActiveCustom,
                            QStringLiteral("textcolorenlaceactivopersonalizado")),
                  &BodyFields::activeLink);
    setContents(form.layout(), QStringLiteral("body"), captions::Title);
}

QString BodyDialog::fragment() const
{
    return bodyTag(m_fields.read());
}

} // namespace zendral
