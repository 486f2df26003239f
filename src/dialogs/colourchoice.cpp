#include "colourchoice.h"

#include "dialogconventions.h"
#include "tagfragments.h"

#include <QComboBox>
#include <QLineEdit>

namespace zendral {

const QStringList &htmlColourNames()
{
    static const QStringList names = {
        QStringLiteral("Aqua"),    QStringLiteral("Black"),  QStringLiteral("Blue"),
        QStringLiteral("Fuchsia"), QStringLiteral("Gray"),   QStringLiteral("Green"),
        QStringLiteral("Lime"),    QStringLiteral("Maroon"), QStringLiteral("Navy"),
        QStringLiteral("Olive"),   QStringLiteral("Purple"), QStringLiteral("Red"),
        QStringLiteral("Silver"),  QStringLiteral("Teal"),   QStringLiteral("White"),
        QStringLiteral("Yellow"),
    };
    return names;
}

QStringList colourItems(const QString &customItem)
{
    QStringList items = htmlColourNames();
    items << designTexts::Separator << customItem;
    return items;
}

QString chosenColour(const QString &listText, const QString &customText, const QString &customItem)
{
    return listText == customItem ? customText : listText;
}

void setUpColourChoice(QComboBox &list, QLineEdit &customBox, const QString &customItem,
                       const QString &prompt)
{
    fillChoiceList(list, colourItems(customItem), prompt);
    QObject::connect(&customBox, &QLineEdit::textChanged, &list,
                     [&list] { showItem(list, CustomColourIndex); });
}

} // namespace zendral
