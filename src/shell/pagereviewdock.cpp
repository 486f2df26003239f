#include "pagereviewdock.h"

#include "editingsurface.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTextBlock>
#include <QVBoxLayout>

namespace zendral {

namespace {

constexpr int LineRole = Qt::UserRole;

} // namespace

PageReviewDock::PageReviewDock(EditingSurface &view, std::function<QString()> folder,
                               QWidget *parent)
    : QDockWidget(QStringLiteral("Revisión de la página"), parent), m_view(view),
      m_folder(std::move(folder))
{
    setObjectName(QStringLiteral("revision"));
    auto *body = new QWidget;
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    m_state = new QLabel;
    m_state->setObjectName(QStringLiteral("revisionEstado"));
    m_state->setTextFormat(Qt::PlainText);
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("revisionLista"));
    layout->addWidget(m_state);
    layout->addWidget(m_list, 1);
    setWidget(body);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { goTo(item->data(LineRole).toInt()); });
}

PageReviewDock::~PageReviewDock()
{
    if (m_worker)
        m_worker->join();
}

void PageReviewDock::review()
{
    QDockWidget::show();
    raise();
    if (m_worker) {
        m_again = true;
        return;
    }
    start();
}

void PageReviewDock::start()
{
    m_state->setText(QStringLiteral("Revisando la página…"));
    // Only the copy is taken here; the text is made from it on the worker.
    auto copy = std::make_shared<PageText::Copy>(m_view.page());
    const QString folder = m_folder ? m_folder() : QString();
    QPointer<PageReviewDock> dock(this);
    m_worker = std::make_unique<std::thread>([copy, folder, dock, generation = m_generation] {
        QString text;
        while (!copy->atEnd())
            text += copy->next(1 << 20);
        std::vector<Finding> findings = reviewPage(text, folder);
        QMetaObject::invokeMethod(
            dock.data(),
            [dock, generation, findings = std::move(findings)] {
                if (dock)
                    dock->showFindings(generation, findings);
            },
            Qt::QueuedConnection);
    });
}

void PageReviewDock::forget()
{
    ++m_generation;
    m_list->clear();
    m_state->clear();
}

void PageReviewDock::showFindings(int generation, const std::vector<Finding> &findings)
{
    m_worker->join();
    m_worker.reset();
    if (m_again) {
        m_again = false;
        start();
        return;
    }
    if (generation != m_generation)
        return;
    m_list->clear();
    for (const Finding &finding : findings) {
        auto *item = new QListWidgetItem(
            QStringLiteral("Línea %1: %2").arg(finding.line).arg(finding.text), m_list);
        item->setData(LineRole, finding.line);
    }
    m_state->setText(findings.empty() ? QStringLiteral("No se ha encontrado nada que corregir.")
                     : findings.size() == 1
                         ? QStringLiteral("1 observación.")
                         : QStringLiteral("%1 observaciones.").arg(findings.size()));
    emit reviewed();
}

void PageReviewDock::goTo(int line)
{
    PageText &page = m_view.page();
    page.setSelectionStart(page.lineStart(std::max(0, line - 1)));
    m_view.ensureCursorVisible();
    m_view.setFocus();
}

} // namespace zendral
