#pragma once

#include "formbuilder.h"
#include "tagdialog.h"
#include "tagfragments.h"

namespace zendral {

// "  Etiqueta HREF": an opening anchor to a file or page, or to a mail address when no
// address of a file or page is given.
class LinkDialog : public TagDialog
{
    Q_OBJECT

public:
    LinkDialog(PageText &page, QWidget *parent);

protected:
    QString fragment() const override;

private:
    FieldReader<LinkFields> m_fields;
};

} // namespace zendral
