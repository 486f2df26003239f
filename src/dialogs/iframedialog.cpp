#include "iframedialog.h"

#include "formbuilder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Etiqueta IFRAME");
const Caption Name{QStringLiteral("lblnombre"), QStringLiteral("Nombre:")};
const Caption Id{QStringLiteral("lblid"), QStringLiteral("ID:")};
const Caption File{QStringLiteral("lblarchivo"), QStringLiteral("Archivo:")};
const Caption FileHint{QStringLiteral("lblformatoarchivo"),
                       QStringLiteral("(Escribir en formato HTML)")};
const Caption Scroll{QStringLiteral("lblscroll"), QStringLiteral("Scroll:")};
const Caption Hspace{QStringLiteral("lblhspace"), QStringLiteral("Hspace:")};
const Caption Vspace{QStringLiteral("lblvspace"), QStringLiteral("Vspace:")};
const Caption Border{QStringLiteral("lblborde"), QStringLiteral("Borde:")};
const Caption MarginHeight{QStringLiteral("lblmarginheight"), QStringLiteral("Margen superior:")};
const Caption MarginWidth{QStringLiteral("lblmarginwidht"), QStringLiteral("Margen lateral:")};
const Caption Width{QStringLiteral("lblwidht"), QStringLiteral("Widht:")};
const Caption Height{QStringLiteral("lblheight"), QStringLiteral("Height:")};
} // namespace captions

} // namespace

IframeDialog::IframeDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::Blue, OnCancel::LeaveSurface)
{
    // Two columns keep eleven fields from making a tall, narrow form.
    FormBuilder source(this);
    m_name = source.textRow(captions::Name, QStringLiteral("txtnombre"));
    m_id = source.textRow(captions::Id, QStringLiteral("txtid"));
    m_file = source.textRow(captions::File, QStringLiteral("txtarchivo"));
    source.note(captions::FileHint);
    m_scroll = source.listRow(captions::Scroll, QStringLiteral("cmbscroll"),
                              {QStringLiteral("Auto"), QStringLiteral("No"), QStringLiteral("Yes")},
                              designTexts::Prompt);
    m_hspace = source.textRow(captions::Hspace, QStringLiteral("txthspace"));
    m_vspace = source.textRow(captions::Vspace, QStringLiteral("txtvspace"));

    FormBuilder spacing(this);
    m_border = spacing.textRow(captions::Border, QStringLiteral("txtborde"));
    m_marginHeight = spacing.textRow(captions::MarginHeight, QStringLiteral("txtmarginheight"));
    m_marginWidth = spacing.textRow(captions::MarginWidth, QStringLiteral("txtmarginwidht"));
    m_width = spacing.textRow(captions::Width, QStringLiteral("txtwidht"));
    m_height = spacing.textRow(captions::Height, QStringLiteral("txtheight"));

    auto *columns = new QHBoxLayout;
    columns->addLayout(source.layout());
    columns->addLayout(spacing.layout());
    setContents(columns, QStringLiteral("iframe"), captions::Title);
}

QString IframeDialog::fragment() const
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
    return iframeTag(fields);
}

} // namespace zendral
