#pragma once

#include "formbuilder.h"
#include "tagdialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QList>

#include <optional>

namespace zendral {

// What the table and cell dialogs share: a "Disposición" frame that starts with an alignment
// list, followed by the "Tamaño" and "Fondo" frames.
class BoxDialog : public TagDialog
{
    Q_OBJECT

protected:
    BoxDialog(PageText &page, QWidget *parent);

    // Makes the "Disposición" frame with its alignment list; the dialog adds its own rows to
    // what this returns, before finishing.
    FormBuilder &addLayoutFrame();
    // Makes the size and background frames, then stacks above, the layout frame, the size
    // and the background.
    void finish(const QList<QWidget *> &above, const QString &objectName, const QString &caption);

    // Copies the alignment, the size and the background into fields.
    template <typename Fields> void readBox(Fields &fields) const
    {
        fields.align = m_align->currentText();
        fields.width = m_width->text();
        fields.height = m_height->text();
        fields.colour = m_colour.read();
        fields.image = m_image->text();
    }

private:
    std::optional<FormBuilder> m_layoutRows;
    QComboBox *m_align = nullptr;
    QLineEdit *m_width = nullptr;
    QLineEdit *m_height = nullptr;
    ColourControls m_colour;
    QLineEdit *m_image = nullptr;
};

} // namespace zendral
