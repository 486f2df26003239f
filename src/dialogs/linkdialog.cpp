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

LinkDialog::LinkDialog(PageText &page, QWidget *parent)
    : TagDialog(page, parent, colours::DarkGreen, OnCancel::CaretToEnd)
{
    FormBuilder file(this, QStringLiteral("frmarchivo"), captions::FileFrame);
    m_fields.bind(file.textRow(captions::Url, QStringLiteral("txturl")), &LinkFields::url);
    file.note(captions::UrlHint);
    m_fields.bind(file.listRow(captions::Target, QStringLiteral("cmbtarget"),
                               {QStringLiteral("_Blanck"), QStringLiteral("_Top"),
                                QStringLiteral("_Parent"), QStringLiteral("_Self")},
                               designTexts::Prompt),
                  &LinkFields::target);
    m_fields.bind(file.textRow(captions::UrlClass, QStringLiteral("txtclassurl")),
                  &LinkFields::urlClass);

    FormBuilder mail(this, QStringLiteral("frmcorreo"), captions::MailFrame);
    m_fields.bind(mail.textRow(captions::Mail, QStringLiteral("txtmail")), &LinkFields::mail);
    m_fields.bind(mail.textRow(captions::Subject, QStringLiteral("txtasunto")),
                  &LinkFields::subject);
    m_fields.bind(mail.textRow(captions::MailClass, QStringLiteral("txtclassmail")),
                  &LinkFields::mailClass);

    auto *frames = new QVBoxLayout;
    frames->addWidget(file.frame());
    frames->addWidget(mail.frame());
    setContents(frames, QStringLiteral("link"), captions::Title);
}

QString LinkDialog::fragment() const
{
    return linkTag(m_fields.read());
}

} // namespace zendral
