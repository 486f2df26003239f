#pragma once

class QWidget;

namespace zendral {

class PageText;
class Prompts;

// Each opens its dialog modally over parent, fresh from its design-time contents, and
// returns when the dialog has closed.
void showPopupDialog(PageText &page, Prompts &prompts, QWidget *parent);
void showMetaTagsDialog(QWidget *parent);
void showDatabaseDialog(PageText &page, QWidget *parent);
void showReplaceDialog(PageText &page, QWidget *parent);

} // namespace zendral
