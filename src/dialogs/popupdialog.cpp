#include "popupdialog.h"

#include "formbuilder.h"
#include "generatorfragments.h"
#include "prompts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Generador de Pop-Up's");
const Caption File{{}, QStringLiteral("Archivo a abrir:")};
const Caption FileHint{{}, QStringLiteral("(Escribír en formato HTML)")};
const Caption WindowName{{}, QStringLiteral("ID de la ventana:")};
const Caption Toolbar{{}, QStringLiteral("Toolbar:")};
const Caption Status{{}, QStringLiteral("Status:")};
const Caption Scrollbars{{}, QStringLiteral("Scrollbars:")};
const Caption Menubar{{}, QStringLiteral("Menubar:")};
const Caption Personalbar{{}, QStringLiteral("Personalbar:")};
const Caption Resizable{{}, QStringLiteral("Resizable:")};
const Caption Directories{{}, QStringLiteral("Directories:")};
const Caption Width{{}, QStringLiteral("Width:")};
const Caption Height{{}, QStringLiteral("Height:")};
const Caption OpeningMethod{{}, QStringLiteral("Método de apertura de la ventana:")};
const QString Reminder =
    QStringLiteral("Dentro de la etiqueta <body> debes poner esto: onLoad='popup()'");
} // namespace captions

} // namespace

PopupDialog::PopupDialog(PageText &page, Prompts &prompts, QWidget *parent)
    : TagDialog(page, parent, std::nullopt, OnCancel::LeaveSurface), m_prompts(prompts)
{
    const QStringList yesNo = {QStringLiteral("Yes"), QStringLiteral("No")};
    FormBuilder grid(this, 3);
    const auto yesNoRow = [&](const Caption &caption, const QString &name,
                              QString PopupFields::*member) {
        m_fields.bind(grid.listRow(caption, name, yesNo, designTexts::Prompt), member);
    };
    m_fields.bind(grid.textRow(captions::File, QStringLiteral("txtarchivo")), &PopupFields::file);
    m_fields.bind(grid.textRow(captions::WindowName, QStringLiteral("txtid")),
                  &PopupFields::windowName);
    grid.nextRow();
    grid.note(captions::FileHint);
    grid.nextRow();
    yesNoRow(captions::Toolbar, QStringLiteral("cmbtoolbar"), &PopupFields::toolbar);
    yesNoRow(captions::Status, QStringLiteral("cmbstatus"), &PopupFields::status);
    yesNoRow(captions::Scrollbars, QStringLiteral("cmbscrollbar"), &PopupFields::scrollbars);
    yesNoRow(captions::Menubar, QStringLiteral("cmbmenubar"), &PopupFields::menubar);
    yesNoRow(captions::Personalbar, QStringLiteral("cmbpersonalbar"), &PopupFields::personalbar);
    yesNoRow(captions::Resizable, QStringLiteral("cmbresizable"), &PopupFields::resizable);
    yesNoRow(captions::Directories, QStringLiteral("cmbdirectories"), &PopupFields::directories);
    m_fields.bind(grid.textRow(captions::Width, QStringLiteral("txtwidth")), &PopupFields::width);
    m_fields.bind(grid.textRow(captions::Height, QStringLiteral("txtheight")),
                  &PopupFields::height);

    FormBuilder method(this);
    m_openingMethod =
        m_fields.bind(method.listRow(captions::OpeningMethod, QStringLiteral("cmbapertura"),
                                     {PopupOnLoad, PopupByLink}, designTexts::Prompt),
                      &PopupFields::openingMethod);

    auto *layout = new QVBoxLayout;
    layout->addLayout(grid.layout());
    layout->addLayout(method.layout());
    setContents(layout, QStringLiteral("popup"), captions::Title);
}

QString PopupDialog::fragment() const
{
    return popupFragment(m_fields.read());
}

void PopupDialog::inserted()
{
    // The reminder comes while the dialog is still up, after the script is in place.
    if (m_openingMethod->currentText() == PopupOnLoad)
        m_prompts.notify(captions::Reminder);
}

} // namespace zendral
