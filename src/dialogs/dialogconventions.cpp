#include "dialogconventions.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>

namespace zendral {

DialogButtons makeDialogButtons(QDialog &dialog, const QString &acceptCaption,
                                const QString &cancelCaption)
{
    DialogButtons buttons;
    buttons.accept = new QPushButton(acceptCaption, &dialog);
    buttons.accept->setObjectName(QStringLiteral("btnaceptar"));
    buttons.accept->setDefault(true);
    buttons.cancel = new QPushButton(cancelCaption, &dialog);
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

QGroupBox *makeFrame(QWidget *parent, const QString &objectName, const QString &caption)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(objectName);
    return frame;
}

void showItem(QComboBox &list, int index)
{
    list.setCurrentIndex(index);
    list.setEditText(list.itemText(index));
}

} // namespace zendral
