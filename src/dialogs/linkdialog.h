#pragma once

#include "tagdialog.h"
#include "tagfragments.h"

class QComboBox;
class QLineEdit;

namespace zendral {

// "  Etiqueta HREF": an opening anchor to a file or page, or to a mail address when no
// address of a file or page is given.
class LinkDialog : public TagDialog
{
    Q_OBJECT

public:
    LinkDialog(EditingSurface &text1, QWidget *parent);

protected:
    QString fragment() const override;

private:
    QLineEdit *m_url = nullptr;
    QComboBox *m_target = nullptr;
    QLineEdit *m_urlClass = nullptr;
    QLineEdit *m_mail = nullptr;
    QLineEdit *m_subject = nullptr;
    QLineEdit *m_mailClass = nullptr;
};

} // namespace zendral
