#include "tabledialog.h"

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
const QString Title = QStringLiteral("  Definición de tabla");
const QString LayoutFrame = QStringLiteral("Disposición");
const Caption Align{QStringLiteral("lblalign"), QStringLiteral("Aleneamiento:")};
const Caption CellSpacing{QStringLiteral("lblcellspacing"), QStringLiteral("CellSpacing:")};
const Caption CellPadding{QStringLiteral("lblcellpadding"), QStringLiteral("CellPadding:")};
const Caption Border{QStringLiteral("lblborder"), QStringLiteral("Borde:")};
const Caption Class{QStringLiteral("lblclass"), QStringLiteral("Class:")};
} // namespace captions

} // namespace

TableDialog::TableDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::DarkGreen, OnCancel::LeaveSurface)
{
    QGroupBox *layoutFrame =
        makeFrame(this, QStringLiteral("frmdisposicion"), captions::LayoutFrame);
    FormBuilder form(layoutFrame);
    layoutFrame->setLayout(form.layout());
    m_align =
        form.listRow(captions::Align, QStringLiteral("cmbalign"),
                     {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")},
                     designTexts::Prompt);
    m_cellSpacing =
        form.textRow(captions::CellSpacing, QStringLiteral("txtcellspacing"), designTexts::Zero);
    m_cellPadding =
        form.textRow(captions::CellPadding, QStringLiteral("txtcellpadding"), designTexts::Zero);
    m_border = form.textRow(captions::Border, QStringLiteral("txtborder"), designTexts::Zero);
    m_className = form.textRow(captions::Class, QStringLiteral("txtclass"));
    m_size = new SizeFrame(this);
    m_background = new BackgroundFrame(this);

    auto *frames = new QVBoxLayout;
    frames->addWidget(layoutFrame);
    frames->addWidget(m_size);
    frames->addWidget(m_background);
    setContents(frames, QStringLiteral("tabla"), captions::Title);
}

QString TableDialog::fragment() const
{
    TableFields fields;
    fields.align = m_align->currentText();
    fields.cellSpacing = m_cellSpacing->text();
    fields.cellPadding = m_cellPadding->text();
    fields.border = m_border->text();
    fields.className = m_className->text();
    fields.width = m_size->width();
    fields.height = m_size->height();
    fields.colour = m_background->colour();
    fields.image = m_background->image();
    return tableTag(fields);
}

} // namespace zendral
