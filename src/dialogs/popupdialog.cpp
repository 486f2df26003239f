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

PopupDialog::PopupDialog(EditingSurface &text1, Prompts &prompts, QWidget *parent)
    : TagDialog(text1, parent, std::nullopt, OnCancel::LeaveSurface), m_prompts(prompts)
{
    const QStringList yesNo = {QStringLiteral("Yes"), QStringLiteral("No")};
    const auto yesNoRow = [&](FormBuilder &form, const Caption &caption, const QString &name) {
        return form.listRow(caption, name, yesNo, designTexts::Prompt);
    };
    FormBuilder grid(this, 3);
    m_file = grid.textRow(captions::File, QStringLiteral("txtarchivo"));
    m_windowName = grid.textRow(captions::WindowName, QStringLiteral("txtid"));
    grid.nextRow();
    grid.note(captions::FileHint);
    grid.nextRow();
    m_toolbar = yesNoRow(grid, captions::Toolbar, QStringLiteral("cmbtoolbar"));
    m_status = yesNoRow(grid, captions::Status, QStringLiteral("cmbstatus"));
    m_scrollbars = yesNoRow(grid, captions::Scrollbars, QStringLiteral("cmbscrollbar"));
    m_menubar = yesNoRow(grid, captions::Menubar, QStringLiteral("cmbmenubar"));
    m_personalbar = yesNoRow(grid, captions::Personalbar, QStringLiteral("cmbpersonalbar"));
    m_resizable = yesNoRow(grid, captions::Resizable, QStringLiteral("cmbresizable"));
    m_directories = yesNoRow(grid, captions::Directories, QStringLiteral("cmbdirectories"));
    m_width = grid.textRow(captions::Width, QStringLiteral("txtwidth"));
    m_height = grid.textRow(captions::Height, QStringLiteral("txtheight"));

    FormBuilder method(this);
    m_openingMethod = method.listRow(captions::OpeningMethod, QStringLiteral("cmbapertura"),
                                     {PopupOnLoad, PopupByLink}, designTexts::Prompt);

    auto *layout = new QVBoxLayout;
    layout->addLayout(grid.layout());
    layout->addLayout(method.layout());
    setContents(layout, QStringLiteral("popup"), captions::Title);
}

QString PopupDialog::fragment() const
{
    return popupFragment({m_file->text(), m_windowName->text(), m_toolbar->currentText(),
                          m_status->currentText(), m_scrollbars->currentText(),
                          m_menubar->currentText(), m_personalbar->currentText(),
                          m_resizable->currentText(), m_directories->currentText(), m_width->text(),
                          m_height->text(), m_openingMethod->currentText()});
}

void PopupDialog::inserted()
{
    // The reminder comes while the dialog is still up, after the script is in place.
    if (m_openingMethod->currentText() == PopupOnLoad)
        m_prompts.notify(captions::Reminder);
}

} // namespace zendral
