#pragma once

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

} // namespace zendral
