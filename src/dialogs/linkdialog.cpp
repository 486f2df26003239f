#include "linkdialog.h"

#include "dialogconventions.h"
#include "formbuilder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Etiqueta HREF");
const QString FileFrame = QStringLiteral("Enlace a Archivo o Página");
const QString MailFrame = QStringLiteral("Enlace a correo electrónico");
const Caption Url{QStringLiteral("lblurl"), QStringLiteral("Dirección:")};
const Caption UrlHint{QStringLiteral("lblformatourl"),
                      QStringLiteral("(Escribir en formato HTML)")};
const Caption Target{QStringLiteral("lbltarget"), QStringLiteral("Target:")};
const Caption UrlClass{QStringLiteral("lblclassurl"), QStringLiteral("Class:")};
const Caption Mail{QStringLiteral("lblmail"), QStringLiteral("Dirección de E-mail:")};
const Caption Subject{QStringLiteral("lblasunto"), QStringLiteral("Asunto:")};
const Caption MailClass{QStringLiteral("lblclassmail"), QStringLiteral("Class:")};
} // namespace captions

} // namespace

LinkDialog::LinkDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::DarkGreen, OnCancel::CaretToEnd)
{
    FormBuilder file(this, QStringLiteral("frmarchivo"), captions::FileFrame);
    m_url = file.textRow(captions::Url, QStringLiteral("txturl"));
    file.note(captions::UrlHint);
    m_target = file.listRow(captions::Target, QStringLiteral("cmbtarget"),
                            {QStringLiteral("_Blanck"), QStringLiteral("_Top"),
                             QStringLiteral("_Parent"), QStringLiteral("_Self")},
                            designTexts::Prompt);
    m_urlClass = file.textRow(captions::UrlClass, QStringLiteral("txtclassurl"));

    FormBuilder mail(this, QStringLiteral("frmcorreo"), captions::MailFrame);
    m_mail = mail.textRow(captions::Mail, QStringLiteral("txtmail"));
    m_subject = mail.textRow(captions::Subject, QStringLiteral("txtasunto"));
    m_mailClass = mail.textRow(captions::MailClass, QStringLiteral("txtclassmail"));

    auto *frames = new QVBoxLayout;
    frames->addWidget(file.frame());
    frames->addWidget(mail.frame());
    setContents(frames, QStringLiteral("link"), captions::Title);
}

QString LinkDialog::fragment() const
{
    LinkFields fields;
    fields.url = m_url->text();
    fields.target = m_target->currentText();
    fields.urlClass = m_urlClass->text();
    fields.mail = m_mail->text();
    fields.subject = m_subject->text();
    fields.mailClass = m_mailClass->text();
    return linkTag(fields);
}

} // namespace zendral
