#include "sizeframe.h"

#include "dialogconventions.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace zendral {

SizeFrame::SizeFrame(QWidget *parent) : QGroupBox(QStringLiteral("Tamaño"), parent)
{
    setObjectName(QStringLiteral("frmtamano"));
    auto *form = new QFormLayout(this);
    m_width = makeTextBox(this, QStringLiteral("txtancho"));
    form->addRow(makeLabel(this, QStringLiteral("lblancho"), QStringLiteral("Ancho:")), m_width);
    m_height = makeTextBox(this, QStringLiteral("txtalto"));
    form->addRow(makeLabel(this, QStringLiteral("lblalto"), QStringLiteral("Alto:")), m_height);
}

QString SizeFrame::width() const
{
    return m_width->text();
}

QString SizeFrame::height() const
{
    return m_height->text();
}

} // namespace zendral
