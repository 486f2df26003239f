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

TableDialog::TableDialog(PageText &page, QWidget *parent) : BoxDialog(page, parent)
{
    FormBuilder &form = addLayoutFrame();
    m_fields.bind(
        form.textRow(captions::CellSpacing, QStringLiteral("txtcellspacing"), designTexts::Zero),
        &TableFields::cellSpacing);
    m_fields.bind(
        form.textRow(captions::CellPadding, QStringLiteral("txtcellpadding"), designTexts::Zero),
        &TableFields::cellPadding);
    m_fields.bind(form.textRow(captions::Border, QStringLiteral("txtborder"), designTexts::Zero),
                  &TableFields::border);
    m_fields.bind(form.textRow(captions::Class, QStringLiteral("txtclass")),
                  &TableFields::className);
    finish({}, QStringLiteral("tabla"), captions::Title);
}

QString TableDialog::fragment() const
{
    TableFields fields = m_fields.read();
    readBox(fields);
    return tableTag(fields);
}

} // namespace zendral
