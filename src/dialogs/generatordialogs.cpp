#include "generatordialogs.h"

#include "dbdialog.h"
#include "metatagsdialog.h"
#include "popupdialog.h"
#include "replacedialog.h"

namespace zendral {

void showPopupDialog(PageText &page, Prompts &prompts, QWidget *parent)
{
    PopupDialog dialog(page, prompts, parent);
    dialog.exec();
}

void showMetaTagsDialog(QWidget *parent)
{
    MetaTagsDialog dialog(parent);
    dialog.exec();
}

void showDatabaseDialog(PageText &page, QWidget *parent)
{
    DbDialog dialog(page, parent);
    dialog.exec();
}

void showReplaceDialog(PageText &page, QWidget *parent)
{
    ReplaceDialog dialog(page, parent);
    dialog.exec();
}

} // namespace zendral
