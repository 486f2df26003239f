#include "metatagsdialog.h"

#include "dialogconventions.h"
#include "generatordialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Generar Meta-Tags");
const QString Area = QStringLiteral("Área:");
const QString Audience = QStringLiteral("Audiencia:");
const QString Author = QStringLiteral("Autor:");
const QString Language = QStringLiteral("Lenguaje:");
const QString Charset = QStringLiteral("Juego de caracteres:");
const QString Email = QStringLiteral("Tu E-mail");
const QString DaysBefore = QStringLiteral("Revisar cada");
const QString DaysAfter = QStringLiteral("días");
const QString Keywords = QStringLiteral("Palabras clave (Separadas por coma):");
const QString Description = QStringLiteral("Descripción:");
const QString Output =
    QStringLiteral("Copia este texto entra las etiquetas <head> y </head> de tu web");
const QString Prompt = QStringLiteral("Selecciona");
const QString Generate = QStringLiteral("&Generar");
const QString Cancel = QStringLiteral("&Cancelar");
const QString Close = QStringLiteral("Cerrar");
} // namespace captions

QLineEdit *lineEdit(const QString &objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    return edit;
}

QPlainTextEdit *textBox(const QString &objectName, QWidget *parent)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(objectName);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabChangesFocus(true);
    return box;
}

} // namespace

MetaTagsDialog::MetaTagsDialog(QWidget *parent)
    : QDialog(parent), m_area(promptCombo(QStringLiteral("cmbarea"), captions::Prompt,
                                          generatorlists::areas(), this)),
      m_audience(promptCombo(QStringLiteral("cmbaudiencia"), captions::Prompt,
                             generatorlists::audiences(), this)),
      m_author(lineEdit(QStringLiteral("txtautor"), this)),
      m_language(promptCombo(QStringLiteral("cmblenguaje"), captions::Prompt,
                             generatorlists::languages(), this)),
      m_charset(promptCombo(QStringLiteral("cmbcaracteres"), captions::Prompt,
                            generatorlists::charsets(), this)),
      m_email(lineEdit(QStringLiteral("txtemail"), this)),
      m_days(lineEdit(QStringLiteral("txtdias"), this)),
      m_keywords(lineEdit(QStringLiteral("txtpalabras"), this)),
      m_description(textBox(QStringLiteral("txtdescripcion"), this)),
      m_output(textBox(QStringLiteral("txtmeta"), this)),
      m_close(new QPushButton(captions::Cancel, this))
{
    auto *grid = new QGridLayout;
    auto addField = [&](int row, int column, const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, row, column * 2);
        grid->addWidget(field, row, column * 2 + 1);
    };
    addField(0, 0, captions::Area, m_area);
    addField(0, 1, captions::Audience, m_audience);
    addField(1, 0, captions::Author, m_author);
    addField(1, 1, captions::Language, m_language);
    addField(2, 0, captions::Charset, m_charset);
    addField(2, 1, captions::Email, m_email);

    m_days->setMaximumWidth(m_days->fontMetrics().averageCharWidth() * 8);
    auto *daysRow = new QHBoxLayout;
    auto *daysLabel = new QLabel(captions::DaysBefore, this);
    daysLabel->setBuddy(m_days);
    daysRow->addWidget(daysLabel);
    daysRow->addWidget(m_days);
    daysRow->addWidget(new QLabel(captions::DaysAfter, this));
    daysRow->addStretch();

    auto *generate = new QPushButton(captions::Generate, this);
    generate->setObjectName(QStringLiteral("btnaceptar"));
    generate->setDefault(true);
    m_close->setObjectName(QStringLiteral("btncancelar"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(generate);
    buttons->addWidget(m_close);

    m_description->setFixedHeight(m_description->fontMetrics().lineSpacing() * 4);
    m_output->setMinimumSize(m_output->fontMetrics().averageCharWidth() * 80,
                             m_output->fontMetrics().lineSpacing() * 12);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(daysRow);
    auto addBox = [&](const QString &caption, QWidget *box) {
        auto *label = new QLabel(caption, this);
        // The output's caption names <head> and </head>, which rich text would swallow.
        label->setTextFormat(Qt::PlainText);
        label->setBuddy(box);
        layout->addWidget(label);
        layout->addWidget(box);
    };
    addBox(captions::Keywords, m_keywords);
    addBox(captions::Description, m_description);
    addBox(captions::Output, m_output);
    layout->addLayout(buttons);
    prepareDialog(*this, QStringLiteral("metatags"), captions::Title);

    connect(generate, &QPushButton::clicked, this, &MetaTagsDialog::generate);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

MetaTagsFields MetaTagsDialog::fields() const
{
    MetaTagsFields fields;
    fields.area = m_area->currentText();
    fields.audience = m_audience->currentText();
    fields.author = m_author->text();
    fields.charset = m_charset->currentText();
    // The box gives its lines joined by LF; the page's lines end in CR LF.
    fields.description = m_description->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
    fields.keywords = m_keywords->text();
    fields.language = m_language->currentText();
    fields.email = m_email->text();
    fields.revisitDays = m_days->text();
    return fields;
}

void MetaTagsDialog::generate()
{
    m_close->setText(captions::Close);
    // Shown with the box's own line breaks, so that a copy pastes as the same lines.
    m_output->setPlainText(
        metaTagsBlock(fields()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_output->setFocus();
    m_output->moveCursor(QTextCursor::End);
}

} // namespace zendral
