#pragma once

#include "formbuilder.h"
#include "tagdialog.h"
#include "tagfragments.h"

class QComboBox;
class QLineEdit;

namespace zendral {

// "  Etiqueta FONT": a font family group, a colour and a size, written as an opening font tag.
class FontDialog : public TagDialog
{
    Q_OBJECT

public:
    FontDialog(PageText &page, QWidget *parent);

protected:
    QString fragment() const override;

private:
    FieldReader<FontFields> m_fields;
    QComboBox *m_group = nullptr;
    QLineEdit *m_customFace = nullptr;
};

} // namespace zendral
