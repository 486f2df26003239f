#include "colourchoice.h"

#include "dialogconventions.h"

#include <QComboBox>
#include <QLineEdit>

namespace zendral {

QStringList colourItems(const QString &customItem)
{
    return {QStringLiteral("Aqua"),    QStringLiteral("Black"),  QStringLiteral("Blue"),
            QStringLiteral("Fuchsia"), QStringLiteral("Gray"),   QStringLiteral("Green"),
            QStringLiteral("Lime"),    QStringLiteral("Maroon"), QStringLiteral("Navy"),
            QStringLiteral("Olive"),   QStringLiteral("Purple"), QStringLiteral("Red"),
            QStringLiteral("Silver"),  QStringLiteral("Teal"),   QStringLiteral("White"),
            QStringLiteral("Yellow"),  designTexts::Separator,   customItem};
}

QString chosenColour(const ColourField &colour, const QString &customItem, const QString &prompt)
{
    return listValue(colour.listText == customItem ? colour.customText : colour.listText, prompt);
}

void followCustomBox(QComboBox &list, QLineEdit &customBox, int customIndex)
{
    QObject::connect(&customBox, &QLineEdit::textChanged, &list,
                     [&list, customIndex] { showItem(list, customIndex); });
}

} // namespace zendral
