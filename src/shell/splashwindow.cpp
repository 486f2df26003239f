#include "splashwindow.h"

#include "weblinks.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

static void initPictures()
{
    Q_INIT_RESOURCE(pictures);
}

namespace zendral {

namespace {

constexpr int ShowMainAfterMs = 3000;
// Long enough after the main window's turn for it to be in place before the splash goes.
constexpr int CloseAfterMs = 3100;

} // namespace

SplashWindow::SplashWindow(std::function<void()> showMain, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_showMain(std::move(showMain))
{
    initPictures();
    setObjectName(QStringLiteral("cargador"));
    setWindowTitle(QStringLiteral("Zendral"));
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("imagen"));
    picture->setPixmap(QPixmap(QStringLiteral(":/pictures/cargador.svg")));
    auto *caption = new QLabel(versionCaption());
    caption->setObjectName(QStringLiteral("lblversion"));
    caption->setContentsMargins(8, 4, 8, 6);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(picture);
    layout->addWidget(caption);
    setFixedSize(sizeHint());

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setSingleShot(true);
    m_timer1->setInterval(ShowMainAfterMs);
    // Coarse timers may drift by 5%, enough for the closing one to fire first.
    m_timer1->setTimerType(Qt::PreciseTimer);
    connect(m_timer1, &QTimer::timeout, this, [this] { m_showMain(); });

    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setSingleShot(true);
    m_timer2->setInterval(CloseAfterMs);
    m_timer2->setTimerType(Qt::PreciseTimer);
    connect(m_timer2, &QTimer::timeout, this, [this] {
        // Never close before the main window is up: the program would end with the splash.
        if (m_timer1->isActive()) {
            m_timer1->stop();
            m_showMain();
        }
        close();
    });
}

QString SplashWindow::versionCaption()
{
    return QStringLiteral("Zendral 1.1          ") + weblinks::ProgramPage;
}

void SplashWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_timer1->isActive() && !m_timer2->isActive()) {
        m_timer1->start();
        m_timer2->start();
    }
}

} // namespace zendral
