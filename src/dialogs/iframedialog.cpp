#include "iframedialog.h"

#include "dialogconventions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace zendral {

IframeDialog::IframeDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::Blue, OnCancel::LeaveSurface)
{
    // Two columns keep eleven fields from making a tall, narrow form.
    auto *source = new QFormLayout;
    auto *spacing = new QFormLayout;
    const auto addBox = [this](QFormLayout *form, const QString &labelName, const QString &label,
                               const QString &boxName) {
        QLineEdit *box = makeTextBox(this, boxName);
        form->addRow(makeLabel(this, labelName, label), box);
        return box;
    };

    m_name = addBox(source, QStringLiteral("lblnombre"), QStringLiteral("Nombre:"),
                    QStringLiteral("txtnombre"));
    m_id = addBox(source, QStringLiteral("lblid"), QStringLiteral("ID:"), QStringLiteral("txtid"));
    m_file = addBox(source, QStringLiteral("lblarchivo"), QStringLiteral("Archivo:"),
                    QStringLiteral("txtarchivo"));
    source->addRow(QString(), makeLabel(this, QStringLiteral("lblformatoarchivo"),
                                        QStringLiteral("(Escribir en formato HTML)")));
    m_scroll = makeChoiceList(this, QStringLiteral("cmbscroll"),
                              {QStringLiteral("Auto"), QStringLiteral("No"), QStringLiteral("Yes")},
                              designTexts::Prompt);
    source->addRow(makeLabel(this, QStringLiteral("lblscroll"), QStringLiteral("Scroll:")),
                   m_scroll);
    m_hspace = addBox(source, QStringLiteral("lblhspace"), QStringLiteral("Hspace:"),
                      QStringLiteral("txthspace"));
    m_vspace = addBox(source, QStringLiteral("lblvspace"), QStringLiteral("Vspace:"),
                      QStringLiteral("txtvspace"));

    m_border = addBox(spacing, QStringLiteral("lblborde"), QStringLiteral("Borde:"),
                      QStringLiteral("txtborde"));
    m_marginHeight = addBox(spacing, QStringLiteral("lblmarginheight"),
                            QStringLiteral("Margen superior:"), QStringLiteral("txtmarginheight"));
    m_marginWidth = addBox(spacing, QStringLiteral("lblmarginwidht"),
                           QStringLiteral("Margen lateral:"), QStringLiteral("txtmarginwidht"));
    m_width = addBox(spacing, QStringLiteral("lblwidht"), QStringLiteral("Widht:"),
                     QStringLiteral("txtwidht"));
    m_height = addBox(spacing, QStringLiteral("lblheight"), QStringLiteral("Height:"),
                      QStringLiteral("txtheight"));

    auto *columns = new QHBoxLayout;
    columns->addLayout(source);
    columns->addLayout(spacing);
    setContents(columns, QStringLiteral("iframe"), QStringLiteral("  Etiqueta IFRAME"));
}

IframeFields IframeDialog::fields() const
{
    IframeFields fields;
    fields.name = m_name->text();
    fields.id = m_id->text();
    fields.file = m_file->text();
    fields.scroll = m_scroll->currentText();
    fields.hspace = m_hspace->text();
    fields.vspace = m_vspace->text();
    fields.border = m_border->text();
    fields.marginHeight = m_marginHeight->text();
    fields.marginWidth = m_marginWidth->text();
    fields.width = m_width->text();
    fields.height = m_height->text();
    return fields;
}

QString IframeDialog::fragment() const
{
    return iframeTag(fields());
}

} // namespace zendral
