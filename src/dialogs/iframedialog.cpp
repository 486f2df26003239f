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

IframeDialog::IframeDialog(PageText &page, QWidget *parent)
    : TagDialog(page, parent, colours::Blue, OnCancel::LeaveSurface)
{
    // Two columns keep eleven fields from making a tall, narrow form.
    FormBuilder source(this);
    m_fields.bind(source.textRow(captions::Name, QStringLiteral("txtnombre")), &IframeFields::name);
    m_fields.bind(source.textRow(captions::Id, QStringLiteral("txtid")), &IframeFields::id);
    m_fields.bind(source.textRow(captions::File, QStringLiteral("txtarchivo")),
                  &IframeFields::file);
    source.note(captions::FileHint);
    m_fields.bind(
        source.listRow(captions::Scroll, QStringLiteral("cmbscroll"),
                       {QStringLiteral("Auto"), QStringLiteral("No"), QStringLiteral("Yes")},
                       designTexts::Prompt),
        &IframeFields::scroll);
    m_fields.bind(source.textRow(captions::Hspace, QStringLiteral("txthspace")),
                  &IframeFields::hspace);
    m_fields.bind(source.textRow(captions::Vspace, QStringLiteral("txtvspace")),
                  &IframeFields::vspace);

    FormBuilder spacing(this);
    m_fields.bind(spacing.textRow(captions::Border, QStringLiteral("txtborde")),
                  &IframeFields::border);
    m_fields.bind(spacing.textRow(captions::MarginHeight, QStringLiteral("txtmarginheight")),
                  &IframeFields::marginHeight);
    m_fields.bind(spacing.textRow(captions::MarginWidth, QStringLiteral("txtmarginwidht")),
                  &IframeFields::marginWidth);
    m_fields.bind(spacing.textRow(captions::Width, QStringLiteral("txtwidht")),
                  &IframeFields::width);
    m_fields.bind(spacing.textRow(captions::Height, QStringLiteral("txtheight")),
                  &IframeFields::height);

    auto *columns = new QHBoxLayout;
    columns->addLayout(source.layout());
    columns->addLayout(spacing.layout());
    setContents(columns, QStringLiteral("iframe"), captions::Title);
}

QString IframeDialog::fragment() const
{
    return iframeTag(m_fields.read());
}

} // namespace zendral
