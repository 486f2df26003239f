#pragma once

#include "colour.h"

#include <QDialog>

#include <optional>

class QLayout;

namespace zendral {

class PageText;

// A modal form that builds one fragment from its fields and, on accept, writes it into the
// page in its colour (or in the insertion colour in force, given none) with the
// caret sent to the end of the document.
class TagDialog : public QDialog
{
    Q_OBJECT

public:
    // What cancelling does to the page besides closing the dialog.
    enum class OnCancel { LeaveSurface, CaretToEnd };

    // Escape, the close box and "&Cancelar" all end here.
    void reject() override;

protected:
    TagDialog(PageText &page, QWidget *parent, std::optional<Colour> insertionColour,
              OnCancel onCancel);

    // Puts the fields above the accept and cancel buttons, which come last in the tab order,
    // and settles the object name, caption and modality.
    void setContents(QLayout *fields, const QString &objectName, const QString &caption);

    // The fragment for what the fields hold now.
    virtual QString fragment() const = 0;
    // Runs after the fragment is in place, while the dialog is still up.
    virtual void inserted() {}

private:
    void insertFragment();

    PageText &m_page;
    std::optional<Colour> m_insertionColour;
    OnCancel m_onCancel;
};

} // namespace zendral
