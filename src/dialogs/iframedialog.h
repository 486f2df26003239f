#pragma once

#include "formbuilder.h"
#include "tagdialog.h"
#include "tagfragments.h"

namespace zendral {

// "  Etiqueta IFRAME": a complete inline frame, with an inline layer of the same attributes
// inside it for older browsers.
class IframeDialog : public TagDialog
{
    Q_OBJECT

public:
    IframeDialog(PageText &page, QWidget *parent);

protected:
    QString fragment() const override;

private:
    FieldReader<IframeFields> m_fields;
};

} // namespace zendral
