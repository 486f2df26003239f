#pragma once

#include "tagdialog.h"
#include "tagfragments.h"

class QComboBox;
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
    // A colour list with its custom box.
    struct ColourControls
    {
        QComboBox *list = nullptr;
        QLineEdit *customBox = nullptr;
    };
    static ColourField read(const ColourControls &controls);
    BodyFields fields() const;

    ColourControls m_background;
    QLineEdit *m_image = nullptr;
    ColourControls m_text;
    ColourControls m_link;
    ColourControls m_visitedLink;
    ColourControls m_activeLink;
};

} // namespace zendral
