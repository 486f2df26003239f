#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QDialog;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QLabel;
class QLineEdit;
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
DialogButtons makeDialogButtons(QDialog &dialog);

// What every tag dialog shares: its object name, its caption (which starts with two blanks),
// modality, and a size that follows its contents at any font size.
void prepareDialog(QDialog &dialog, const QString &objectName, const QString &caption);

// A label with its object name.
QLabel *makeLabel(QWidget *parent, const QString &objectName, const QString &text);

// A captioned frame that groups controls.
QGroupBox *makeFrame(QWidget *parent, const QString &objectName, const QString &caption);

// A text box with its object name and design-time text.
QLineEdit *makeTextBox(QWidget *parent, const QString &objectName,
                       const QString &designText = QString());

// An editable drop-down list that shows its prompt until the user picks or types something.
QComboBox *makeChoiceList(QWidget *parent, const QString &objectName, const QStringList &items,
                          const QString &prompt);

// Fills an editable list and shows the prompt with no item picked. What the user types stays
// as typed: nothing completes it and nothing adds it to the list.
void fillChoiceList(QComboBox &list, const QStringList &items, const QString &prompt);

// Makes the list show the item at index, also when the user has typed over the list since
// picking that same item.
void showItem(QComboBox &list, int index);

} // namespace zendral
