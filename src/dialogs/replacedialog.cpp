#include "replacedialog.h"

#include "dialogconventions.h"
#include "editingsurface.h"
#include "replacestring.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Reemplazar");
const QString Keyword = QStringLiteral("Palabra a reemplazar");
const QString Replacement = QStringLiteral("Reemplazar por:");
const QString Warning = QStringLiteral("Ante posíbles resultados no deseados, te aconsejo guardar "
                                       "tu archivo ántes de hacer el reemplazo de palabras.");
const QString Done = QStringLiteral("Palabras reemplazadas correctamente");
const QString Change = QStringLiteral("&Realizar cambio");
const QString Cancel = QStringLiteral("&Cancelar");
const QString Close = QStringLiteral("&Cerrar");
} // namespace captions

} // namespace

ReplaceDialog::ReplaceDialog(EditingSurface &text1, QWidget *parent)
    : QDialog(parent), m_text1(text1), m_keyword(new QLineEdit(this)),
      m_replacement(new QLineEdit(this)), m_warning(new QLabel(captions::Warning, this)),
      m_change(new QPushButton(captions::Change, this)),
      m_close(new QPushButton(captions::Cancel, this))
{
    // The two boxes are one control array: word 0 is replaced by word 1.
    m_keyword->setObjectName(QStringLiteral("TxtWord(0)"));
    m_replacement->setObjectName(QStringLiteral("TxtWord(1)"));
    m_warning->setObjectName(QStringLiteral("lbladvertencia"));
    m_warning->setWordWrap(true);
    m_change->setObjectName(QStringLiteral("cmdChange"));
    m_change->setDefault(true);
    m_close->setObjectName(QStringLiteral("Command1"));
    m_keyword->setMinimumWidth(m_keyword->fontMetrics().averageCharWidth() * 32);
    m_warning->setFixedWidth(m_keyword->fontMetrics().averageCharWidth() * 56);

    auto *form = new QFormLayout;
    form->addRow(captions::Keyword, m_keyword);
    form->addRow(captions::Replacement, m_replacement);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_change);
    buttons->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_warning);
    layout->addLayout(buttons);
    prepareDialog(*this, QStringLiteral("reemplazar"), captions::Title);

    connect(m_change, &QPushButton::clicked, this, &ReplaceDialog::replaceAll);
    connect(m_close, &QPushButton::clicked, this, &ReplaceDialog::reject);
}

void ReplaceDialog::reject()
{
    QDialog::reject();
    m_text1.setFocus();
    m_text1.setSelectionStart(m_text1.textLength());
}

void ReplaceDialog::replaceAll()
{
    // With no word to look for there is nothing to do; the user may still type one.
    if (!replaceInDocument(m_text1, m_keyword->text(), m_replacement->text()))
        return;
    m_warning->setText(captions::Done);
    m_change->hide();
    m_close->setText(captions::Close);
    m_close->setDefault(true);
}

} // namespace zendral
