#include "boxdialog.h"

#include "dialogconventions.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace zendral {

namespace {

namespace captions {
const QString LayoutFrame = QStringLiteral("Disposición");
const Caption Align{QStringLiteral("lblalign"), QStringLiteral("Aleneamiento:")};
} // namespace captions

} // namespace

BoxDialog::BoxDialog(EditingSurface &text1, QWidget *parent)
    : TagDialog(text1, parent, colours::DarkGreen, OnCancel::LeaveSurface)
{}

FormBuilder &BoxDialog::addLayoutFrame()
{
    m_layoutFrame = makeFrame(this, QStringLiteral("frmdisposicion"), captions::LayoutFrame);
    m_layoutRows.emplace(m_layoutFrame);
    m_layoutFrame->setLayout(m_layoutRows->layout());
    m_align = m_layoutRows->listRow(
        captions::Align, QStringLiteral("cmbalign"),
        {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")},
        designTexts::Prompt);
    return *m_layoutRows;
}

void BoxDialog::finish(const QList<QWidget *> &above, const QString &objectName,
                       const QString &caption)
{
    m_size = new SizeFrame(this);
    m_background = new BackgroundFrame(this);
    auto *frames = new QVBoxLayout;
    for (QWidget *frame : above + QList<QWidget *>{m_layoutFrame, m_size, m_background})
        frames->addWidget(frame);
    setContents(frames, objectName, caption);
}

} // namespace zendral
