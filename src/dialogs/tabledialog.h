#pragma once

#include "tagdialog.h"
#include "tagfragments.h"

class QComboBox;
class QLineEdit;

namespace zendral {

class SizeFrame;

class BackgroundFrame;

// "  Definición de tabla": an opening table tag and the first opening row tag below it.
class TableDialog : public TagDialog
{
    Q_OBJECT

public:
    TableDialog(EditingSurface &text1, QWidget *parent);

protected:
    QString fragment() const override;

private:
    QComboBox *m_align = nullptr;
    QLineEdit *m_cellSpacing = nullptr;
    QLineEdit *m_cellPadding = nullptr;
    QLineEdit *m_border = nullptr;
    QLineEdit *m_className = nullptr;
    SizeFrame *m_size = nullptr;
    BackgroundFrame *m_background = nullptr;
};

} // namespace zendral
