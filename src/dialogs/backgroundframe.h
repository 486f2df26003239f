#pragma once

#include "tagfragments.h"

#include <QGroupBox>

class QComboBox;
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
    QComboBox *m_colour = nullptr;
    QLineEdit *m_customColour = nullptr;
    QLineEdit *m_image = nullptr;
};

} // namespace zendral
