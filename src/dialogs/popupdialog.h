#pragma once

#include "formbuilder.h"
#include "generatorfragments.h"
#include "tagdialog.h"

class QComboBox;

namespace zendral {

class Prompts;

// The pop-up window generator `popup`: a link or a load-time script that opens a page in a
// new browser window, inserted at the caret in the insertion colour in force.
class PopupDialog : public TagDialog
{
    Q_OBJECT

public:
    PopupDialog(PageText &page, Prompts &prompts, QWidget *parent = nullptr);

protected:
    QString fragment() const override;
    void inserted() override;

private:
    FieldReader<PopupFields> m_fields;
    Prompts &m_prompts;
    QComboBox *m_openingMethod = nullptr;
};

} // namespace zendral
