#include "tabledialog.h"

#include "tagfragments.h"

#include <QLineEdit>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Definición de tabla");
const Caption CellSpacing{QStringLiteral("lblcellspacing"), QStringLiteral("CellSpacing:")};
const Caption CellPadding{QStringLiteral("lblcellpadding"), QStringLiteral("CellPadding:")};
const Caption Border{QStringLiteral("lblborder"), QStringLiteral("Borde:")};
const Caption Class{QStringLiteral("lblclass"), QStringLiteral("Class:")};
} // namespace captions

} // namespace

TableDialog::TableDialog(EditingSurface &text1, QWidget *parent) : BoxDialog(text1, parent)
{
    FormBuilder &form = addLayoutFrame();
    m_cellSpacing =
        form.textRow(captions::CellSpacing, QStringLiteral("txtcellspacing"), designTexts::Zero);
    m_cellPadding =
        form.textRow(captions::CellPadding, QStringLiteral("txtcellpadding"), designTexts::Zero);
    m_border = form.textRow(captions::Border, QStringLiteral("txtborder"), designTexts::Zero);
    m_className = form.textRow(captions::Class, QStringLiteral("txtclass"));
    finish({}, QStringLiteral("tabla"), captions::Title);
}

QString TableDialog::fragment() const
{
    TableFields fields;
    readBox(fields);
    fields.cellSpacing = m_cellSpacing->text();
    fields.cellPadding = m_cellPadding->text();
    fields.border = m_border->text();
    fields.className = m_className->text();
    return tableTag(fields);
}

} // namespace zendral
