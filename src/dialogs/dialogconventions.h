#pragma once

#include <QString>

class QComboBox;
class QDialog;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace zendral {

// The button row dialogs end with: `btnaceptar` (the default, so Enter accepts) and
// `btncancelar`, right-aligned.
struct DialogButtons
{
    QPushButton *accept = nullptr;
    QPushButton *cancel = nullptr;
    QHBoxLayout *row = nullptr;
};
DialogButtons makeDialogButtons(QDialog &dialog, const QString &acceptCaption,
                                const QString &cancelCaption);

// What every dialog shares: its object name, its caption (which starts with two blanks),
// modality, and a size that follows its contents at any font size.
void prepareDialog(QDialog &dialog, const QString &objectName, const QString &caption);

// A captioned frame that groups controls.
QGroupBox *makeFrame(QWidget *parent, const QString &objectName, const QString &caption);

// Makes the list show the item at index, also when the user has typed over the list since
// picking that same item.
void showItem(QComboBox &list, int index);

} // namespace zendral
