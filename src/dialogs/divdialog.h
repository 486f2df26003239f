#pragma once

#include "formbuilder.h"
#include "tagdialog.h"
#include "tagfragments.h"

namespace zendral {

// "  Etiqueta DIV": an opening div tag, either aligned or, once a position is given, a
// positioned layer.
class DivDialog : public TagDialog
{
    Q_OBJECT

public:
    DivDialog(PageText &page, QWidget *parent);

protected:
    QString fragment() const override;

private:
    FieldReader<DivFields> m_fields;
};

} // namespace zendral
