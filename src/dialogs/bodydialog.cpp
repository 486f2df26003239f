#include "bodydialog.h"

#include "colourchoice.h"
#include "dialogconventions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace zendral {

BodyDialog::BodyDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::Blue, OnCancel::CaretToEnd)
{
    auto *grid = new QGridLayout;
    int row = 0;
    // Each colour takes one row: its list, then its custom box.
    const auto addColour = [&](const QString &labelName, const QString &label,
                               const QString &listName, const QString &customLabelName,
                               const QString &boxName) {
        ColourControls controls;
        grid->addWidget(makeLabel(this, labelName, label), row, 0);
        controls.list = new QComboBox(this);
        controls.list->setObjectName(listName);
        grid->addWidget(controls.list, row, 1);
        grid->addWidget(makeLabel(this, customLabelName, QStringLiteral("Color personalizado:")),
                        row, 2);
        controls.customBox = makeTextBox(this, boxName, designTexts::CustomColourBox);
        grid->addWidget(controls.customBox, row, 3);
        setUpColourChoice(*controls.list, *controls.customBox, designTexts::CustomColour,
                          designTexts::ColourPrompt);
        ++row;
        return controls;
    };

    m_background = addColour(QStringLiteral("lbl1"), QStringLiteral("Color de fondo:"),
                             QStringLiteral("cmbbackground"), QStringLiteral("Label1"),
                             QStringLiteral("textcolorperso"));

    grid->addWidget(makeLabel(this, QStringLiteral("lbl2"), QStringLiteral("Imágen de fondo:")),
                    row, 0);
    m_image = makeTextBox(this, QStringLiteral("txtimagenfondo"));
    grid->addWidget(m_image, row, 1);
    grid->addWidget(makeLabel(this, QStringLiteral("Label2"),
                              QStringLiteral("(Escribir ruta en formato HTML)")),
                    row, 2, 1, 2);
    ++row;

    m_text =
        addColour(QStringLiteral("lblcolortexto"), QStringLiteral("Color del texto:"),
                  QStringLiteral("cmbcolortexto"), QStringLiteral("lblcolortextopersonalizado"),
                  QStringLiteral("txtcolortexto"));
    m_link =
        addColour(QStringLiteral("lblcolorenlace"), QStringLiteral("Color del enlace:"),
                  QStringLiteral("cmbcolorenlace"), QStringLiteral("lblcolorenlacepersonalizado"),
                  QStringLiteral("textcolorenlacepersonalizado"));
    m_visitedLink = addColour(
        QStringLiteral("lblenlacevisitado"), QStringLiteral("Color del enlace visitado:"),
        QStringLiteral("cmbcolorenlacevisitado"), QStringLiteral("lblenlacevisitadopersonalizado"),
        QStringLiteral("txtenlacevisitadopersonalizado"));
    m_activeLink = addColour(
        QStringLiteral("lblenlaceactivo"), QStringLiteral("Color del enlace activo:"),
        QStringLiteral("cmbcolorenlaceactivo"), QStringLiteral("lblcolorenlaceactivopersonalizado"),
        QStringLiteral("textcolorenlaceactivopersonalizado"));

    setContents(grid, QStringLiteral("body"), QStringLiteral("  Etiqueta Body"));
}

ColourField BodyDialog::read(const ColourControls &controls)
{
    return {controls.list->currentText(), controls.customBox->text()};
}

BodyFields BodyDialog::fields() const
{
    BodyFields fields;
    fields.background = read(m_background);
    fields.image = m_image->text();
    fields.text = read(m_text);
    fields.link = read(m_link);
    fields.visitedLink = read(m_visitedLink);
    fields.activeLink = read(m_activeLink);
    return fields;
}

QString BodyDialog::fragment() const
{
    return bodyTag(fields());
}

} // namespace zendral
