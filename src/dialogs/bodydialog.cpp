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

BodyDialog::BodyDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::Blue, OnCancel::CaretToEnd)
{
    // Each colour takes one row: its list, then its custom box.
    FormBuilder form(this, 2);
    const auto colourRow = [&](const Caption &caption, const QString &listName,
                               const Caption &customCaption, const QString &boxName) {
        return form.colourRow(caption, listName, customCaption, boxName, designTexts::CustomColour,
                              designTexts::ColourPrompt);
    };
    m_background = colourRow(captions::Background, QStringLiteral("cmbbackground"),
                             captions::BackgroundCustom, QStringLiteral("textcolorperso"));
    m_image = form.textRow(captions::Image, QStringLiteral("txtimagenfondo"));
    form.note(captions::ImageHint);
    m_text = colourRow(captions::Text, QStringLiteral("cmbcolortexto"), captions::TextCustom,
                       QStringLiteral("txtcolortexto"));
    m_link = colourRow(captions::Link, QStringLiteral("cmbcolorenlace"), captions::LinkCustom,
                       QStringLiteral("textcolorenlacepersonalizado"));
    m_visitedLink =
        colourRow(captions::Visited, QStringLiteral("cmbcolorenlacevisitado"),
                  captions::VisitedCustom, QStringLiteral("txtenlacevisitadopersonalizado"));
    m_activeLink =
        colourRow(captions::Active, QStringLiteral("cmbcolorenlaceactivo"), captions::ActiveCustom,
                  QStringLiteral("textcolorenlaceactivopersonalizado"));
    setContents(form.layout(), QStringLiteral("body"), captions::Title);
}

QString BodyDialog::fragment() const
{
    BodyFields fields;
    fields.background = m_background.read();
    fields.image = m_image->text();
    fields.text = m_text.read();
    fields.link = m_link.read();
    fields.visitedLink = m_visitedLink.read();
    fields.activeLink = m_activeLink.read();
    return bodyTag(fields);
}

} // namespace zendral
