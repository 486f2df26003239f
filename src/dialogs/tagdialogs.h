#pragma once

#include "bodydialog.h"
#include "celldialog.h"
#include "dbdialog.h"
#include "divdialog.h"
#include "fontdialog.h"
#include "iframedialog.h"
#include "linkdialog.h"
#include "metatagsdialog.h"
#include "popupdialog.h"
#include "replacedialog.h"
#include "tabledialog.h"

#include <utility>

namespace zendral {

// Opens a fresh dialog made from arguments, modal over the parent among them, and returns when
// it has closed; a tag dialog writes into the page. A new dialog per opening, so that nothing
// typed in an earlier one comes back.
template <typename Dialog, typename... Arguments> void showDialog(Arguments &&...arguments)
{
    Dialog dialog(std::forward<Arguments>(arguments)...);
    dialog.exec();
}

} // namespace zendral
