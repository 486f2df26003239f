#include "generatordialogs.h"

#include "dbdialog.h"
#include "metatagsdialog.h"
#include "popupdialog.h"
#include "replacedialog.h"

#include <QComboBox>

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

QComboBox *promptCombo(const QString &objectName, const QString &prompt, const QStringList &items,
                       QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(prompt);
    return combo;
}

} // namespace zendral
