#include "celldialog.h"

#include "dialogconventions.h"
#include "tagfragments.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Definición de celda");
const QString StyleFrame = QStringLiteral("Estilo");
const Caption Class{QStringLiteral("lblclass"), QStringLiteral("Class:")};
const Caption Valign{QStringLiteral("lblvalign"), QStringLiteral("Valign:")};
} // namespace captions

} // namespace

CellDialog::CellDialog(PageText &page, QWidget *parent) : BoxDialog(page, parent)
{
    FormBuilder style(this, QStringLiteral("frmestilo"), captions::StyleFrame);
    m_fields.bind(style.textRow(captions::Class, QStringLiteral("txtclass")),
                  &CellFields::className);

    m_fields.bind(addLayoutFrame().listRow(
                      captions::Valign, QStringLiteral("cmbvalign"),
                      {QStringLiteral("Top"), QStringLiteral("Middle"), QStringLiteral("Bottom")},
                      designTexts::Prompt),
                  &CellFields::valign);
    finish({style.frame()}, QStringLiteral("celda"), captions::Title);
}

QString CellDialog::fragment() const
{
    CellFields fields = m_fields.read();
    readBox(fields);
    return cellTag(fields);
}

} // namespace zendral
