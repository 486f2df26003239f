#include "linkdialog.h"

#include "dialogconventions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zendral {

LinkDialog::LinkDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::DarkGreen, OnCancel::CaretToEnd)
{
    QGroupBox *fileFrame =
        makeFrame(this, QStringLiteral("frmarchivo"), QStringLiteral("Enlace a Archivo o Página"));
    auto *fileGrid = new QGridLayout(fileFrame);
    fileGrid->addWidget(
        makeLabel(fileFrame, QStringLiteral("lblurl"), QStringLiteral("Dirección:")), 0, 0);
    m_url = makeTextBox(fileFrame, QStringLiteral("txturl"));
    fileGrid->addWidget(m_url, 0, 1);
    fileGrid->addWidget(makeLabel(fileFrame, QStringLiteral("lblformatourl"),
                                  QStringLiteral("(Escribir en formato HTML)")),
                        1, 1);
    fileGrid->addWidget(
        makeLabel(fileFrame, QStringLiteral("lbltarget"), QStringLiteral("Target:")), 2, 0);
    // "_Blanck" is what lands in the page, spelling included.
    m_target = makeChoiceList(fileFrame, QStringLiteral("cmbtarget"),
                              {QStringLiteral("_Blanck"), QStringLiteral("_Top"),
                               QStringLiteral("_Parent"), QStringLiteral("_Self")},
                              designTexts::Prompt);
    fileGrid->addWidget(m_target, 2, 1);
    fileGrid->addWidget(
        makeLabel(fileFrame, QStringLiteral("lblclassurl"), QStringLiteral("Class:")), 3, 0);
    m_urlClass = makeTextBox(fileFrame, QStringLiteral("txtclassurl"));
    fileGrid->addWidget(m_urlClass, 3, 1);

    QGroupBox *mailFrame =
        makeFrame(this, QStringLiteral("frmcorreo"), QStringLiteral("Enlace a correo electrónico"));
    auto *mailGrid = new QGridLayout(mailFrame);
    mailGrid->addWidget(
        makeLabel(mailFrame, QStringLiteral("lblmail"), QStringLiteral("Dirección de E-mail:")), 0,
        0);
    m_mail = makeTextBox(mailFrame, QStringLiteral("txtmail"));
    mailGrid->addWidget(m_mail, 0, 1);
    mailGrid->addWidget(
        makeLabel(mailFrame, QStringLiteral("lblasunto"), QStringLiteral("Asunto:")), 1, 0);
    m_subject = makeTextBox(mailFrame, QStringLiteral("txtasunto"));
    mailGrid->addWidget(m_subject, 1, 1);
    mailGrid->addWidget(
        makeLabel(mailFrame, QStringLiteral("lblclassmail"), QStringLiteral("Class:")), 2, 0);
    m_mailClass = makeTextBox(mailFrame, QStringLiteral("txtclassmail"));
    mailGrid->addWidget(m_mailClass, 2, 1);

    auto *frames = new QVBoxLayout;
    frames->addWidget(fileFrame);
    frames->addWidget(mailFrame);
    setContents(frames, QStringLiteral("link"), QStringLiteral("  Etiqueta HREF"));
}

LinkFields LinkDialog::fields() const
{
    LinkFields fields;
    fields.url = m_url->text();
    fields.target = m_target->currentText();
    fields.urlClass = m_urlClass->text();
    fields.mail = m_mail->text();
    fields.subject = m_subject->text();
    fields.mailClass = m_mailClass->text();
    return fields;
}

QString LinkDialog::fragment() const
{
    return linkTag(fields());
}

} // namespace zendral
