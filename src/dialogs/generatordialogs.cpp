#include "generatordialogs.h"

#include "dbdialog.h"
#include "metatagsdialog.h"
#include "popupdialog.h"
#include "replacedialog.h"

namespace zendral {

void showPopupDialog(EditingSurface &text1, Prompts &prompts, QWidget *parent)
{
    PopupDialog dialog(text1, prompts, parent);
    dialog.exec();
}

void showMetaTagsDialog(QWidget *parent)
{
    MetaTagsDialog dialog(parent);
    dialog.exec();
}

void showDatabaseDialog(EditingSurface &text1, QWidget *parent)
{
    DbDialog dialog(text1, parent);
    dialog.exec();
}

void showReplaceDialog(EditingSurface &text1, QWidget *parent)
{
    ReplaceDialog dialog(text1, parent);
    dialog.exec();
}

} // namespace zendral
