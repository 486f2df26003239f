#include "dbdialog.h"

#include "dialogconventions.h"
#include "editingsurface.h"
#include "taginsertion.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Conexión a Base de Datos");
const QString DsnFrame = QStringLiteral("Conexión por DSN");
const QString DsnName = QStringLiteral("Nombre de la conexión:");
const QString ManualFrame = QStringLiteral("Conexión manual");
const QString DatabasePath = QStringLiteral("Ruta de la base de datos:");
const QString PathHint = QStringLiteral("(Escribir en formato HTML)");
} // namespace captions

} // namespace

DbDialog::DbDialog(EditingSurface &text1, QWidget *parent)
    : QDialog(parent), m_text1(text1), m_dataSourceName(new QLineEdit(this)),
      m_databasePath(new QLineEdit(this))
{
    m_dataSourceName->setObjectName(QStringLiteral("txtdsn"));
    m_databasePath->setObjectName(QStringLiteral("txtmanual"));
    m_dataSourceName->setMinimumWidth(m_dataSourceName->fontMetrics().averageCharWidth() * 36);

    auto *dsnFrame = new QGroupBox(captions::DsnFrame, this);
    auto *dsnLayout = new QFormLayout(dsnFrame);
    dsnLayout->addRow(captions::DsnName, m_dataSourceName);

    auto *manualFrame = new QGroupBox(captions::ManualFrame, this);
    auto *manualLayout = new QFormLayout(manualFrame);
    manualLayout->addRow(captions::DatabasePath, m_databasePath);
    manualLayout->addRow(QString(), new QLabel(captions::PathHint, manualFrame));

    const DialogButtons buttons = makeDialogButtons(*this);
    QPushButton *accept = buttons.accept;
    QPushButton *cancel = buttons.cancel;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(dsnFrame);
    layout->addWidget(manualFrame);
    layout->addLayout(buttons.row);
    prepareDialog(*this, QStringLiteral("db"), captions::Title);

    connect(accept, &QPushButton::clicked, this, &DbDialog::insertFragment);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

DatabaseFields DbDialog::fields() const
{
    return {m_dataSourceName->text(), m_databasePath->text()};
}

void DbDialog::insertFragment()
{
    InsertTagText(m_text1, databaseFragment(fields()));
    accept();
    m_text1.setFocus();
    m_text1.setSelectionStart(m_text1.textLength());
}

} // namespace zendral
