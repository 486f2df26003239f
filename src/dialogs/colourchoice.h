#pragma once

#include "designtexts.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;

namespace zendral {

// A colour choice as a dialog holds it: the text its list shows and its custom box's text.
struct ColourField
{
    QString listText;
    QString customText = designTexts::CustomColourBox;
};

// The items of a colour list: the sixteen named HTML colours ("Aqua" to "Yellow"), the
// separator " -- " and the dialog's own custom-colour item at index 17.
QStringList colourItems(const QString &customItem);

// Index of the custom-colour item in a colour list.
constexpr int CustomColourIndex = 17;

// The value a colour choice writes: the custom box's text when the list shows the custom item
// exactly, otherwise what the list shows; nothing when that is the list's prompt. Colours stay
// text, never numbers.
QString chosenColour(const ColourField &colour, const QString &customItem, const QString &prompt);

// Ties a custom-colour box to its list: every change of the box's text makes the list show
// the custom item, so that the typed value is the one used.
void followCustomBox(QComboBox &list, QLineEdit &customBox, int customIndex);

} // namespace zendral
