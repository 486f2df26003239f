#include "sizeframe.h"

#include "formbuilder.h"

#include <QGridLayout>
#include <QLineEdit>

namespace zendral {

namespace {

namespace captions {
const QString Frame = QStringLiteral("Tamaño");
const Caption Width{QStringLiteral("lblancho"), QStringLiteral("Ancho:")};
const Caption Height{QStringLiteral("lblalto"), QStringLiteral("Alto:")};
} // namespace captions

} // namespace

SizeFrame::SizeFrame(QWidget *parent) : QGroupBox(captions::Frame, parent)
{
    setObjectName(QStringLiteral("frmtamano"));
    FormBuilder form(this);
    setLayout(form.layout());
    m_width = form.textRow(captions::Width, QStringLiteral("txtancho"));
    m_height = form.textRow(captions::Height, QStringLiteral("txtalto"));
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
