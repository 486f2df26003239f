#pragma once

#include <QObject>

namespace zendral {

class EditingSurface;

// The text's zoom: steps of one point from the normal size, as the user last left them, also
// taken by Ctrl+wheel over the text.
class Zoom : public QObject
{
public:
    explicit Zoom(EditingSurface &view);

    void zoomBy(int steps);
    // Back to the normal size.
    void reset() { zoomBy(-m_steps); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply(int steps);

    EditingSurface &m_view;
    int m_normalSize = 0;
    int m_steps = 0;
    // A wheel's turn not yet a whole step.
    int m_pendingWheel = 0;
};

} // namespace zendral
