#include "dialogconventions.h"

#include <QHBoxLayout>
#include <QPushButton>

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>

namespace zendral {

DialogButtons makeDialogButtons(QDialog &dialog)
{
    DialogButtons buttons;
    buttons.accept = new QPushButton(QStringLiteral("&Aceptar"), &dialog);
    buttons.accept->setObjectName(QStringLiteral("btnaceptar"));
    buttons.accept->setDefault(true);
    buttons.cancel = new QPushButton(QStringLiteral("&Cancelar"), &dialog);
    buttons.cancel->setObjectName(QStringLiteral("btncancelar"));
    buttons.row = new QHBoxLayout;
    buttons.row->addStretch();
    buttons.row->addWidget(buttons.accept);
    buttons.row->addWidget(buttons.cancel);
    return buttons;
}

void prepareDialog(QDialog &dialog, const QString &objectName, const QString &caption)
{
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(caption);
    dialog.setModal(true);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    if (dialog.layout())
        dialog.layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QLabel *makeLabel(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    // Captions are the user's texts, never markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QGroupBox *makeFrame(QWidget *parent, const QString &objectName, const QString &caption)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(objectName);
    return frame;
}

QLineEdit *makeTextBox(QWidget *parent, const QString &objectName, const QString &designText)
{
    auto *box = new QLineEdit(designText, parent);
    box->setObjectName(objectName);
    return box;
}

QComboBox *makeChoiceList(QWidget *parent, const QString &objectName, const QStringList &items,
                          const QString &prompt)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(objectName);
    fillChoiceList(*list, items, prompt);
    return list;
}

void fillChoiceList(QComboBox &list, const QStringList &items, const QString &prompt)
{
    list.setEditable(true);
    list.setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would turn a typed "b" into "Black" behind the user's back.
    list.setCompleter(nullptr);
    list.addItems(items);
    // The prompt is not an item, so the list must be wide enough for it by itself.
    list.setMinimumContentsLength(int(prompt.size()));
    list.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list.setCurrentIndex(-1);
    list.setEditText(prompt);
}

void showItem(QComboBox &list, int index)
{
    list.setCurrentIndex(index);
    list.setEditText(list.itemText(index));
}

} // namespace zendral
