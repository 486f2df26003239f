#pragma once

#include "formbuilder.h"
#include "tagdialog.h"
#include "tagfragments.h"

namespace zendral {

// "  Etiqueta Body": the page colours and background image, written as an opening body tag.
class BodyDialog : public TagDialog
{
    Q_OBJECT

public:
    BodyDialog(PageText &page, QWidget *parent);

protected:
    QString fragment() const override;

private:
    FieldReader<BodyFields> m_fields;
};

} // namespace zendral
