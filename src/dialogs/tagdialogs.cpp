#include "tagdialogs.h"

#include "bodydialog.h"
#include "celldialog.h"
#include "divdialog.h"
#include "fontdialog.h"
#include "iframedialog.h"
#include "linkdialog.h"
#include "tabledialog.h"

namespace zendral {

namespace {

// A new dialog per opening, so that nothing typed in an earlier one comes back.
template <typename Dialog> void showFresh(EditingSurface &text1, QWidget *parent)
{
    Dialog dialog(text1, parent);
    dialog.exec();
}

} // namespace

void showBodyDialog(EditingSurface &text1, QWidget *parent)
{
    showFresh<BodyDialog>(text1, parent);
}

void showLinkDialog(EditingSurface &text1, QWidget *parent)
{
    showFresh<LinkDialog>(text1, parent);
}

void showFontDialog(EditingSurface &text1, QWidget *parent)
{
    showFresh<FontDialog>(text1, parent);
}

void showDivDialog(EditingSurface &text1, QWidget *parent)
{
    showFresh<DivDialog>(text1, parent);
}

void showIframeDialog(EditingSurface &text1, QWidget *parent)
{
    showFresh<IframeDialog>(text1, parent);
}

void showTableDialog(EditingSurface &text1, QWidget *parent)
{
    showFresh<TableDialog>(text1, parent);
}

void showCellDialog(EditingSurface &text1, QWidget *parent)
{
    showFresh<CellDialog>(text1, parent);
}

} // namespace zendral
