#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

namespace zendral {

class EditingSurface;
class Prompts;

// Each opens its dialog modally over parent, fresh from its design-time contents, and
// returns when the dialog has closed.
void showPopupDialog(EditingSurface &text1, Prompts &prompts, QWidget *parent);
void showMetaTagsDialog(QWidget *parent);
void showDatabaseDialog(EditingSurface &text1, QWidget *parent);
void showReplaceDialog(EditingSurface &text1, QWidget *parent);

// An editable drop-down list that shows prompt until the user picks an item or types; typed
// text stays typed text and never becomes a new item.
QComboBox *promptCombo(const QString &objectName, const QString &prompt, const QStringList &items,
                       QWidget *parent);

} // namespace zendral
