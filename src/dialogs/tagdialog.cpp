#include "tagdialog.h"

#include "dialogconventions.h"
#include "pagetext.h"
#include "taginsertion.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zendral {

TagDialog::TagDialog(PageText &page, QWidget *parent, std::optional<Colour> insertionColour,
                     OnCancel onCancel)
    : QDialog(parent), m_page(page), m_insertionColour(insertionColour), m_onCancel(onCancel)
{}

void TagDialog::setContents(QLayout *fields, const QString &objectName, const QString &caption)
{
    const DialogButtons buttons =
        makeDialogButtons(*this, QStringLiteral("&Aceptar"), QStringLiteral("&Cancelar"));
    connect(buttons.accept, &QPushButton::clicked, this, &TagDialog::insertFragment);
    connect(buttons.cancel, &QPushButton::clicked, this, &TagDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons.row);
    prepareDialog(*this, objectName, caption);
}

void TagDialog::insertFragment()
{
    // A back-off of 0 sends the caret to the end of the document, not after the fragment.
    InsertTagText(m_page, fragment(), m_insertionColour, 0);
    inserted();
    accept();
}

void TagDialog::reject()
{
    QDialog::reject();
    if (m_onCancel == OnCancel::CaretToEnd) {
        m_page.focus();
        m_page.setSelectionStart(m_page.textLength());
    }
}

} // namespace zendral
