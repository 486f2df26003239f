#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;

namespace zendral {

// The sixteen named HTML colours, in list order ("Aqua" to "Yellow").
const QStringList &htmlColourNames();

// The items of a colour list: the sixteen names, the separator " -- " and the dialog's own
// custom-colour item at index 17.
QStringList colourItems(const QString &customItem);

// Index of the custom-colour item in a colour list.
constexpr int CustomColourIndex = 17;

// The value a colour choice writes: the custom box's text when the list shows the custom
// item exactly, otherwise whatever the list shows. Colours stay text, never numbers.
QString chosenColour(const QString &listText, const QString &customText, const QString &customItem);

// Fills an editable colour list and ties its custom-colour box to it: every change of the
// box's text makes the list show the custom item, so that the typed value is the one used.
void setUpColourChoice(QComboBox &list, QLineEdit &customBox, const QString &customItem,
                       const QString &prompt);

} // namespace zendral
