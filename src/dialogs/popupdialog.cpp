#include "popupdialog.h"

#include "dialogconventions.h"
#include "editingsurface.h"
#include "generatordialogs.h"
#include "prompts.h"
#include "taginsertion.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString Title = QStringLiteral("  Generador de Pop-Up's");
const QString File = QStringLiteral("Archivo a abrir:");
const QString FileHint = QStringLiteral("(Escribír en formato HTML)");
const QString WindowName = QStringLiteral("ID de la ventana:");
const QString Toolbar = QStringLiteral("Toolbar:");
const QString Status = QStringLiteral("Status:");
const QString Scrollbars = QStringLiteral("Scrollbars:");
const QString Menubar = QStringLiteral("Menubar:");
const QString Personalbar = QStringLiteral("Personalbar:");
const QString Resizable = QStringLiteral("Resizable:");
const QString Directories = QStringLiteral("Directories:");
const QString Width = QStringLiteral("Width:");
const QString Height = QStringLiteral("Height:");
const QString OpeningMethod = QStringLiteral("Método de apertura de la ventana:");
const QString Prompt = QStringLiteral("Selecciona");
const QString Reminder =
    QStringLiteral("Dentro de la etiqueta <body> debes poner esto: onLoad='popup()'");
} // namespace captions

QLineEdit *lineEdit(const QString &objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    return edit;
}

} // namespace

PopupDialog::PopupDialog(EditingSurface &text1, Prompts &prompts, QWidget *parent)
    : QDialog(parent), m_text1(text1), m_prompts(prompts),
      m_file(lineEdit(QStringLiteral("txtarchivo"), this)),
      m_windowName(lineEdit(QStringLiteral("txtid"), this)),
      m_toolbar(promptCombo(QStringLiteral("cmbtoolbar"), captions::Prompt, generatorlists::yesNo(),
                            this)),
      m_status(promptCombo(QStringLiteral("cmbstatus"), captions::Prompt, generatorlists::yesNo(),
                           this)),
      m_scrollbars(promptCombo(QStringLiteral("cmbscrollbar"), captions::Prompt,
                               generatorlists::yesNo(), this)),
      m_menubar(promptCombo(QStringLiteral("cmbmenubar"), captions::Prompt, generatorlists::yesNo(),
                            this)),
      m_personalbar(promptCombo(QStringLiteral("cmbpersonalbar"), captions::Prompt,
                                generatorlists::yesNo(), this)),
      m_resizable(promptCombo(QStringLiteral("cmbresizable"), captions::Prompt,
                              generatorlists::yesNo(), this)),
      m_directories(promptCombo(QStringLiteral("cmbdirectories"), captions::Prompt,
                                generatorlists::yesNo(), this)),
      m_width(lineEdit(QStringLiteral("txtwidth"), this)),
      m_height(lineEdit(QStringLiteral("txtheight"), this)),
      m_openingMethod(promptCombo(QStringLiteral("cmbapertura"), captions::Prompt,
                                  generatorlists::openingMethods(), this))
{
    auto *grid = new QGridLayout;
    auto addField = [&](int row, int column, const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, row, column * 2);
        grid->addWidget(field, row, column * 2 + 1);
    };
    addField(0, 0, captions::File, m_file);
    grid->addWidget(new QLabel(captions::FileHint, this), 1, 1);
    addField(0, 1, captions::WindowName, m_windowName);
    addField(2, 0, captions::Toolbar, m_toolbar);
    addField(2, 1, captions::Status, m_status);
    addField(2, 2, captions::Scrollbars, m_scrollbars);
    addField(3, 0, captions::Menubar, m_menubar);
    addField(3, 1, captions::Personalbar, m_personalbar);
    addField(3, 2, captions::Resizable, m_resizable);
    addField(4, 0, captions::Directories, m_directories);
    addField(4, 1, captions::Width, m_width);
    addField(4, 2, captions::Height, m_height);

    auto *methodRow = new QHBoxLayout;
    auto *methodLabel = new QLabel(captions::OpeningMethod, this);
    methodLabel->setBuddy(m_openingMethod);
    methodRow->addWidget(methodLabel);
    methodRow->addWidget(m_openingMethod);
    methodRow->addStretch();

    const DialogButtons buttons = makeDialogButtons(*this);
    QPushButton *accept = buttons.accept;
    QPushButton *cancel = buttons.cancel;

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(methodRow);
    layout->addLayout(buttons.row);
    prepareDialog(*this, QStringLiteral("popup"), captions::Title);

    connect(accept, &QPushButton::clicked, this, &PopupDialog::insertFragment);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

PopupFields PopupDialog::fields() const
{
    PopupFields fields;
    fields.file = m_file->text();
    fields.windowName = m_windowName->text();
    fields.toolbar = m_toolbar->currentText();
    fields.status = m_status->currentText();
    fields.scrollbars = m_scrollbars->currentText();
    fields.menubar = m_menubar->currentText();
    fields.personalbar = m_personalbar->currentText();
    fields.resizable = m_resizable->currentText();
    fields.directories = m_directories->currentText();
    fields.width = m_width->text();
    fields.height = m_height->text();
    fields.openingMethod = m_openingMethod->currentText();
    return fields;
}

void PopupDialog::insertFragment()
{
    const PopupFields current = fields();
    InsertTagText(m_text1, popupFragment(current));
    m_text1.setSelectionStart(m_text1.textLength());
    // The reminder comes while the dialog is still up, after the script is in place.
    if (popupNeedsReminder(current))
        m_prompts.notify(captions::Reminder);
    accept();
    m_text1.setFocus();
}

} // namespace zendral
