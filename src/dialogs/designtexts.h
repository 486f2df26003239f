#pragma once

#include <QString>

namespace zendral {

// What the dialogs' lists and boxes show as they open, and the list items that decide how a
// value is read. Compared exactly, accents included.
namespace designTexts {
inline const QString Prompt = QStringLiteral("Selecciona");
inline const QString ColourPrompt = QStringLiteral("Selecciona un color");
inline const QString FontGroupPrompt = QStringLiteral("Selecciona un grupo de tipografías");
inline const QString CustomColour = QStringLiteral("Color personalizádo");
inline const QString PersonalColour = QStringLiteral("Personal");
inline const QString CustomFont = QStringLiteral("Fuente personalizáda");
inline const QString Separator = QStringLiteral(" -- ");
inline const QString CustomColourBox = QStringLiteral("#");
inline const QString Zero = QStringLiteral("0");
} // namespace designTexts

// Every line the dialogs write into a page ends so, as the pages' own lines do.
inline const QString PageLineBreak = QStringLiteral("\r\n");

// The value a list yields: what it shows, or nothing when it still shows its prompt, so that
// no prompt text ever lands in a page as a value.
inline QString listValue(const QString &shown, const QString &prompt)
{
    return shown == prompt ? QString() : shown;
}

} // namespace zendral
