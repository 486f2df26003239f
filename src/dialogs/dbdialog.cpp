#include "dbdialog.h"

#include "dialogconventions.h"
#include "formbuilder.h"
#include "generatorfragments.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Conexión a Base de Datos");
const QString DsnFrame = QStringLiteral("Conexión por DSN");
const Caption DsnName{{}, QStringLiteral("Nombre de la conexión:")};
const QString ManualFrame = QStringLiteral("Conexión manual");
const Caption DatabasePath{{}, QStringLiteral("Ruta de la base de datos:")};
const Caption PathHint{{}, QStringLiteral("(Escribir en formato HTML)")};
} // namespace captions

} // namespace

DbDialog::DbDialog(PageText &page, QWidget *parent)
    : TagDialog(page, parent, std::nullopt, OnCancel::LeaveSurface)
{
    FormBuilder dsn(this, QStringLiteral("frmdsn"), captions::DsnFrame);
    m_dataSourceName = m_fields.bind(dsn.textRow(captions::DsnName, QStringLiteral("txtdsn")),
                                     &DatabaseFields::dataSourceName);
    m_dataSourceName->setMinimumWidth(m_dataSourceName->fontMetrics().averageCharWidth() * 36);

    FormBuilder manual(this, QStringLiteral("frmmanual"), captions::ManualFrame);
    m_fields.bind(manual.textRow(captions::DatabasePath, QStringLiteral("txtmanual")),
                  &DatabaseFields::databasePath);
    manual.note(captions::PathHint);

    auto *frames = new QVBoxLayout;
    frames->addWidget(dsn.frame());
    frames->addWidget(manual.frame());
    setContents(frames, QStringLiteral("db"), captions::Title);
}

QString DbDialog::fragment() const
{
    return databaseFragment(m_fields.read());
}

} // namespace zendral
