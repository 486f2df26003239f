#include "replacedialog.h"

#include "dialogconventions.h"
#include "formbuilder.h"
#include "pagetext.h"
#include "replacestring.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Reemplazar");
const Caption Keyword{{}, QStringLiteral("Palabra a reemplazar")};
const Caption Replacement{{}, QStringLiteral("Reemplazar por:")};
const Caption Warning{QStringLiteral("lbladvertencia"),
                      QStringLiteral("Ante posíbles resultados no deseados, te aconsejo guardar "
                                     "tu archivo ántes de hacer el reemplazo de palabras.")};
const QString NotFound =
    QStringLiteral("No se ha encontrado \"%1\" en el documento: no se ha cambiado nada.");
const QString OneReplaced = QStringLiteral("Palabras reemplazadas correctamente: 1 reemplazo.");
const QString ManyReplaced = QStringLiteral("Palabras reemplazadas correctamente: %1 reemplazos.");
const QString Change = QStringLiteral("&Realizar cambio");
const QString Cancel = QStringLiteral("&Cancelar");
const QString Close = QStringLiteral("&Cerrar");
} // namespace captions

} // namespace

ReplaceDialog::ReplaceDialog(PageText &page, QWidget *parent) : QDialog(parent), m_page(page)
{
    FormBuilder form(this);
    // The two boxes are one control array: word 0 is replaced by word 1.
    m_keyword = form.textRow(captions::Keyword, QStringLiteral("TxtWord(0)"));
    m_keyword->setMinimumWidth(m_keyword->fontMetrics().averageCharWidth() * 32);
    m_replacement = form.textRow(captions::Replacement, QStringLiteral("TxtWord(1)"));
    m_warning = makeLabel(this, captions::Warning);
    m_warning->setWordWrap(true);
    m_warning->setFixedWidth(m_keyword->fontMetrics().averageCharWidth() * 56);

    m_change = new QPushButton(captions::Change, this);
    m_change->setObjectName(QStringLiteral("cmdChange"));
    m_change->setDefault(true);
    m_close = new QPushButton(captions::Cancel, this);
    m_close->setObjectName(QStringLiteral("Command1"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_change);
    buttons->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form.layout());
    layout->addWidget(m_warning);
    layout->addLayout(buttons);
    prepareDialog(*this, QStringLiteral("reemplazar"), captions::Title);

    connect(m_change, &QPushButton::clicked, this, &ReplaceDialog::replaceAll);
    connect(m_close, &QPushButton::clicked, this, &ReplaceDialog::reject);
}

void ReplaceDialog::reject()
{
    QDialog::reject();
    m_page.focus();
    m_page.setSelectionStart(m_page.textLength());
}

void ReplaceDialog::replaceAll()
{
    // With no word to look for there is nothing to do; the user may still type one.
    if (m_keyword->text().isEmpty())
        return;
    const qsizetype count = replaceInDocument(m_page, m_keyword->text(), m_replacement->text());
    if (count == 0) {
        // Nothing changed, so the user may correct the word and try again.
        m_warning->setText(captions::NotFound.arg(m_keyword->text()));
        return;
    }
    m_warning->setText(count == 1 ? captions::OneReplaced : captions::ManyReplaced.arg(count));
    m_change->hide();
    m_close->setText(captions::Close);
    m_close->setDefault(true);
}

} // namespace zendral
