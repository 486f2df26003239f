#pragma once

#include "backgroundframe.h"
#include "formbuilder.h"
#include "sizeframe.h"
#include "tagdialog.h"

#include <QComboBox>
#include <QList>

#include <optional>

class QGroupBox;

namespace zendral {

// What the table and cell dialogs share: a "Disposición" frame that starts with an alignment
// list, followed by the size and background frames.
class BoxDialog : public TagDialog
{
    Q_OBJECT

protected:
    BoxDialog(EditingSurface &text1, QWidget *parent);

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
        fields.width = m_size->width();
        fields.height = m_size->height();
        fields.colour = m_background->colour();
        fields.image = m_background->image();
    }

private:
    QGroupBox *m_layoutFrame = nullptr;
    std::optional<FormBuilder> m_layoutRows;
    QComboBox *m_align = nullptr;
    SizeFrame *m_size = nullptr;
    BackgroundFrame *m_background = nullptr;
};

} // namespace zendral
