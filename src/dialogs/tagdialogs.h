#pragma once

#include "bodydialog.h"
#include "celldialog.h"
#include "divdialog.h"
#include "fontdialog.h"
#include "iframedialog.h"
#include "linkdialog.h"
#include "tabledialog.h"

namespace zendral {

// Opens a fresh tag dialog, modal over parent, and returns when it has closed; what it writes
// goes into the page. A new dialog per opening, so that nothing typed in an earlier one comes back.
template <typename Dialog> void showTagDialog(PageText &page, QWidget *parent)
{
    Dialog dialog(page, parent);
    dialog.exec();
}

} // namespace zendral
