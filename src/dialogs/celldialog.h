#pragma once

#include "tagdialog.h"
#include "tagfragments.h"

class QComboBox;
class QLineEdit;

namespace zendral {

class SizeFrame;

class BackgroundFrame;

// "  Definición de celda": an opening cell tag, the companion of the table dialog.
class CellDialog : public TagDialog
{
    Q_OBJECT

public:
    CellDialog(EditingSurface &text1, QWidget *parent);

protected:
    QString fragment() const override;

private:
    QLineEdit *m_className = nullptr;
    QComboBox *m_align = nullptr;
    QComboBox *m_valign = nullptr;
    SizeFrame *m_size = nullptr;
    BackgroundFrame *m_background = nullptr;
};

} // namespace zendral
