#pragma once

#include <QWidget>

#include <functional>

class QTimer;

namespace zendral {

// The splash `cargador`: the window the program opens first. It shows the main window after
// 3000 ms and closes itself 100 ms later, so the main window is in place before it goes.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    // showMain builds and shows the main window.
    explicit SplashWindow(std::function<void()> showMain, QWidget *parent = nullptr);

    // The caption under the picture: the version and the product's site.
    static QString versionCaption();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::function<void()> m_showMain;
    QTimer *m_timer1 = nullptr;
    QTimer *m_timer2 = nullptr;
};

} // namespace zendral
