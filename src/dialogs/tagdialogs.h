#pragma once

class QWidget;

namespace zendral {

class EditingSurface;

// The commands that open the tag dialogs. Each opening shows a fresh dialog, modal over
// parent, and returns when it has closed; what it writes goes into text1.
void showBodyDialog(EditingSurface &text1, QWidget *parent);
void showLinkDialog(EditingSurface &text1, QWidget *parent);
void showFontDialog(EditingSurface &text1, QWidget *parent);
void showDivDialog(EditingSurface &text1, QWidget *parent);
void showIframeDialog(EditingSurface &text1, QWidget *parent);
void showTableDialog(EditingSurface &text1, QWidget *parent);
void showCellDialog(EditingSurface &text1, QWidget *parent);

} // namespace zendral
