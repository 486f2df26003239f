#include "metatagsdialog.h"

#include "dialogconventions.h"
#include "formbuilder.h"
#include "generatorfragments.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Generar Meta-Tags");
const Caption Area{{}, QStringLiteral("Área:")};
const Caption Audience{{}, QStringLiteral("Audiencia:")};
const Caption Author{{}, QStringLiteral("Autor:")};
const Caption Language{{}, QStringLiteral("Lenguaje:")};
const Caption Charset{{}, QStringLiteral("Juego de caracteres:")};
const Caption Email{{}, QStringLiteral("Tu E-mail")};
const Caption DaysBefore{{}, QStringLiteral("Revisar cada")};
const Caption DaysAfter{{}, QStringLiteral("días")};
const Caption Keywords{{}, QStringLiteral("Palabras clave (Separadas por coma):")};
const Caption Description{{}, QStringLiteral("Descripción:")};
const Caption Output{
    {}, QStringLiteral("Copia este texto entra las etiquetas <head> y </head> de tu web")};
const QString Generate = QStringLiteral("&Generar");
const QString Cancel = QStringLiteral("&Cancelar");
const QString Close = QStringLiteral("Cerrar");
} // namespace captions

namespace items {
const QStringList Areas = {QStringLiteral("General"),        QStringLiteral("Administration"),
                           QStringLiteral("Build a living"), QStringLiteral("Culture"),
                           QStringLiteral("Economics"),      QStringLiteral("Education"),
                           QStringLiteral("Envioronment"),   QStringLiteral("Erotic Sexual"),
                           QStringLiteral("Industry"),       QStringLiteral("Internet"),
                           QStringLiteral("Media"),          QStringLiteral("Medicine"),
                           QStringLiteral("Personal"),       QStringLiteral("Play"),
                           QStringLiteral("Politics"),       QStringLiteral("Religion"),
                           QStringLiteral("Science"),        QStringLiteral("Service"),
                           QStringLiteral("Software"),       QStringLiteral("Sport"),
                           QStringLiteral("Tourism")};
const QStringList Audiences = {
    QStringLiteral("Adult"),        QStringLiteral("Advanced"),   QStringLiteral("Beginner"),
    QStringLiteral("Children"),     QStringLiteral("Everything"), QStringLiteral("Expert"),
    QStringLiteral("Fan"),          QStringLiteral("General"),    QStringLiteral("Men"),
    QStringLiteral("Proffesional"), QStringLiteral("Pupil"),      QStringLiteral("Student"),
    QStringLiteral("Women"),        QStringLiteral("Young")};
const QStringList Languages = {
    QStringLiteral("Chinese"), QStringLiteral("English"), QStringLiteral("French"),
    QStringLiteral("German"),  QStringLiteral("Italian"), QStringLiteral("Japanese"),
    QStringLiteral("Russian"), QStringLiteral("Spanish"), QStringLiteral("Other")};
// UTF-8 first: the encoding every page is best written in.
const QStringList Charsets = {
    QStringLiteral("UTF-8"),         QStringLiteral("BIG5"),       QStringLiteral("EUC-KR"),
    QStringLiteral("GB2312"),        QStringLiteral("HZ-GB-2312"), QStringLiteral("ISO-2022-JP"),
    QStringLiteral("ISO-2022-JP-2"), QStringLiteral("ISO2022-KR"), QStringLiteral("US-ASCII"),
    QStringLiteral("ISO-8859-1"),    QStringLiteral("ISO-8859-2"), QStringLiteral("ISO-8859-3"),
    QStringLiteral("ISO-8859-4"),    QStringLiteral("ISO-8859-5"), QStringLiteral("ISO-8859-6"),
    QStringLiteral("ISO-8859-7"),    QStringLiteral("ISO-8859-8"), QStringLiteral("ISO-8859-9"),
    QStringLiteral("JIS_X0208"),     QStringLiteral("K0I8-R"),     QStringLiteral("SHIFT_JIS"),
    QStringLiteral("Other")};
} // namespace items

QPlainTextEdit *textArea(const QString &objectName, QWidget *parent)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(objectName);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabChangesFocus(true);
    return box;
}

} // namespace

MetaTagsDialog::MetaTagsDialog(QWidget *parent) : QDialog(parent)
{
    FormBuilder form(this, 2);
    m_fields.bind(
        form.listRow(captions::Area, QStringLiteral("cmbarea"), items::Areas, designTexts::Prompt),
        &MetaTagsFields::area);
    m_fields.bind(form.listRow(captions::Audience, QStringLiteral("cmbaudiencia"), items::Audiences,
                               designTexts::Prompt),
                  &MetaTagsFields::audience);
    m_fields.bind(form.textRow(captions::Author, QStringLiteral("txtautor")),
                  &MetaTagsFields::author);
    m_fields.bind(form.listRow(captions::Language, QStringLiteral("cmblenguaje"), items::Languages,
                               designTexts::Prompt),
                  &MetaTagsFields::language);
    m_fields.bind(form.listRow(captions::Charset, QStringLiteral("cmbcaracteres"), items::Charsets,
                               designTexts::Prompt),
                  &MetaTagsFields::charset);
    m_fields.bind(form.textRow(captions::Email, QStringLiteral("txtemail")),
                  &MetaTagsFields::email);

    FormBuilder days(this, 2);
    QLineEdit *daysBox =
        m_fields.bind(days.textRow(captions::DaysBefore, QStringLiteral("txtdias")),
                      &MetaTagsFields::revisitDays);
    daysBox->setMaximumWidth(daysBox->fontMetrics().averageCharWidth() * 8);
    days.note(captions::DaysAfter);
    days.layout()->setColumnStretch(4, 1);

    FormBuilder texts(this);
    auto *keywords = m_fields.bind(new QLineEdit(this), &MetaTagsFields::keywords);
    keywords->setObjectName(QStringLiteral("txtpalabras"));
    texts.wideRow(captions::Keywords, keywords);
    m_description = textArea(QStringLiteral("txtdescripcion"), this);
    m_description->setFixedHeight(m_description->fontMetrics().lineSpacing() * 4);
    texts.wideRow(captions::Description, m_description);
    m_output = textArea(QStringLiteral("txtmeta"), this);
    m_output->setMinimumSize(m_output->fontMetrics().averageCharWidth() * 80,
                             m_output->fontMetrics().lineSpacing() * 12);
    texts.wideRow(captions::Output, m_output);

    const DialogButtons buttons = makeDialogButtons(*this, captions::Generate, captions::Cancel);
    m_close = buttons.cancel;
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form.layout());
    layout->addLayout(days.layout());
    layout->addLayout(texts.layout());
    layout->addLayout(buttons.row);
    prepareDialog(*this, QStringLiteral("metatags"), captions::Title);

    connect(buttons.accept, &QPushButton::clicked, this, &MetaTagsDialog::generate);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void MetaTagsDialog::generate()
{
    m_close->setText(captions::Close);
    MetaTagsFields fields = m_fields.read();
    // The box gives its lines joined by LF; the page's lines end in CR LF.
    fields.description = m_description->toPlainText().replace(u'\n', PageLineBreak);
    const QString block = metaTagsBlock(fields);
    // Shown with the box's own line breaks, so that a copy pastes as the same lines.
    m_output->setPlainText(QString(block).replace(PageLineBreak, QStringLiteral("\n")));
    m_output->setFocus();
    m_output->moveCursor(QTextCursor::End);
}

} // namespace zendral
