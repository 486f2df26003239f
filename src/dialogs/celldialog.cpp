#include "celldialog.h"

#include "backgroundframe.h"
#include "dialogconventions.h"
#include "formbuilder.h"
#include "sizeframe.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Definición de celda");
const QString StyleFrame = QStringLiteral("Estilo");
const QString LayoutFrame = QStringLiteral("Disposición");
const Caption Class{QStringLiteral("lblclass"), QStringLiteral("Class:")};
const Caption Align{QStringLiteral("lblalign"), QStringLiteral("Aleneamiento:")};
const Caption Valign{QStringLiteral("lblvalign"), QStringLiteral("Valign:")};
} // namespace captions

} // namespace

CellDialog::CellDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::DarkGreen, OnCancel::LeaveSurface)
{
    QGroupBox *styleFrame = makeFrame(this, QStringLiteral("frmestilo"), captions::StyleFrame);
    FormBuilder style(styleFrame);
    styleFrame->setLayout(style.layout());
    m_className = style.textRow(captions::Class, QStringLiteral("txtclass"));

    QGroupBox *layoutFrame =
        makeFrame(this, QStringLiteral("frmdisposicion"), captions::LayoutFrame);
    FormBuilder form(layoutFrame);
    layoutFrame->setLayout(form.layout());
    m_align =
        form.listRow(captions::Align, QStringLiteral("cmbalign"),
                     {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")},
                     designTexts::Prompt);
    m_valign =
        form.listRow(captions::Valign, QStringLiteral("cmbvalign"),
                     {QStringLiteral("Top"), QStringLiteral("Middle"), QStringLiteral("Bottom")},
                     designTexts::Prompt);
    m_size = new SizeFrame(this);
    m_background = new BackgroundFrame(this);

    auto *frames = new QVBoxLayout;
    frames->addWidget(styleFrame);
    frames->addWidget(layoutFrame);
    frames->addWidget(m_size);
    frames->addWidget(m_background);
    setContents(frames, QStringLiteral("celda"), captions::Title);
}

QString CellDialog::fragment() const
{
    CellFields fields;
    fields.className = m_className->text();
    fields.align = m_align->currentText();
    fields.valign = m_valign->currentText();
    fields.width = m_size->width();
    fields.height = m_size->height();
    fields.colour = m_background->colour();
    fields.image = m_background->image();
    return cellTag(fields);
}

} // namespace zendral
