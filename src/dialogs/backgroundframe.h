#pragma once

#include "formbuilder.h"

#include <QGroupBox>

class QLineEdit;

namespace zendral {

// The "Fondo" frame of the table and cell dialogs: a colour list whose custom item is
// "Personal", its custom box, and a background image.
class BackgroundFrame : public QGroupBox
{
    Q_OBJECT

public:
    explicit BackgroundFrame(QWidget *parent);

    ColourField colour() const;
    QString image() const;

private:
    ColourControls m_colour;
    QLineEdit *m_image = nullptr;
};

} // namespace zendral
