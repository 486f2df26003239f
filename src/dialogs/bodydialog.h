#pragma once

#include "formbuilder.h"
#include "tagdialog.h"
#include "tagfragments.h"

class QLineEdit;

namespace zendral {

// "  Etiqueta Body": the page colours and background image, written as an opening body tag.
class BodyDialog : public TagDialog
{
    Q_OBJECT

public:
    BodyDialog(EditingSurface &text1, QWidget *parent);

protected:
    QString fragment() const override;

private:
    ColourControls m_background;
    QLineEdit *m_image = nullptr;
    ColourControls m_text;
    ColourControls m_link;
    ColourControls m_visitedLink;
    ColourControls m_activeLink;
};

} // namespace zendral
