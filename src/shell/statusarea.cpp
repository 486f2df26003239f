#include "statusarea.h"

#include "documentcontroller.h"
#include "editingsurface.h"
#include "pageencoding.h"
#include "pageestimate.h"

#include <QGridLayout>
#include <QLabel>
#include <QTimer>

#include <optional>

namespace zendral {

namespace {

QLabel *label(const QString &text, const QString &name = QString())
{
    auto *result = new QLabel(text);
    if (!name.isEmpty())
        result->setObjectName(name);
    return result;
}

QString lineEndName(PageText::LineEnd end)
{
    switch (end) {
    case PageText::LineEnd::Lf:
        return QStringLiteral("LF");
    case PageText::LineEnd::Cr:
        return QStringLiteral("CR");
    default:
        return QStringLiteral("CR LF");
    }
}

} // namespace

StatusArea::StatusArea(EditingSurface &view, DocumentController &document, QWidget *parent)
    : QWidget(parent), m_view(view), m_document(document)
{
    setObjectName(QStringLiteral("estado"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    m_size = label(QStringLiteral(" Bytes"), QStringLiteral("lbltamano"));
    m_modem = label(QStringLiteral("Seg."), QStringLiteral("lblmodem"));
    m_adsl = label(QStringLiteral("Seg."), QStringLiteral("lbladsl"));
    grid->addWidget(label(QStringLiteral("Tamaño de archivo de texto:")), 0, 0);
    grid->addWidget(m_size, 0, 1);
    grid->addWidget(label(QStringLiteral("Tiempo apróximado de carga (Sin contar las imágenes):")),
                    0, 2, 1, 4);
    grid->addWidget(label(QStringLiteral(" Modem 56k:")), 1, 2);
    grid->addWidget(m_modem, 1, 3);
    grid->addWidget(label(QStringLiteral("ADSL 25KB:")), 1, 4);
    grid->addWidget(m_adsl, 1, 5);
    // The path must not widen the window.
    m_fileNotice = label(QString(), QStringLiteral("lblarchivo"));
    m_fileNotice->setTextFormat(Qt::PlainText);
    m_fileNotice->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(m_fileNotice, 1, 6);
    grid->setColumnStretch(6, 1);
    m_modified = label(QString(), QStringLiteral("lblmodificado"));
    grid->addWidget(m_modified, 0, 6);
    const auto pageLabel = [grid](const QString &name, int column) {
        QLabel *result = label(QString(), name);
        result->setTextFormat(Qt::PlainText);
        grid->addWidget(result, 1, column);
        return result;
    };
    m_encoding = pageLabel(QStringLiteral("lblcodificacion"), 7);
    m_lineEnds = pageLabel(QStringLiteral("lblfinales"), 8);
    m_position = pageLabel(QStringLiteral("lblposicion"), 9);

    m_lineEndsCount = new QTimer(this);
    m_lineEndsCount->setSingleShot(true);
    m_lineEndsCount->setInterval(250);
    connect(m_lineEndsCount, &QTimer::timeout, this, [this] { showLineEnds(true); });
    // Shown once the caret rests: a label that changes repaints the status area, which would
    // cost every keystroke of a burst a tenth of a millisecond or more. Later is also safe: Qt
    // announces the caret's move from inside a new text's setting, before the page's own
    // tables have caught up.
    m_positionShown = new QTimer(this);
    m_positionShown->setSingleShot(true);
    m_positionShown->setInterval(150);
    connect(m_positionShown, &QTimer::timeout, this, &StatusArea::showPosition);

    connect(&document, &DocumentController::documentChanged, this,
            [this](DocumentController::Changes changes) {
                if (changes & DocumentController::Written)
                    m_fileNotice->clear();
            });
    connect(&document, &DocumentController::statusMessage, m_fileNotice, &QLabel::setText);
}

void StatusArea::followPage()
{
    const auto pageShown = [this] {
        showModified();
        showEncoding();
        showLineEnds(false);
    };
    connect(&m_document, &DocumentController::documentChanged, this, pageShown);
    connect(&m_view.page(), &PageText::changed, this, [this] { showLineEnds(false); });
    connect(&m_view, &QPlainTextEdit::cursorPositionChanged, m_positionShown,
            qOverload<>(&QTimer::start));
    pageShown();
    showPosition();
}

void StatusArea::showEstimate(const PageEstimate &estimate)
{
    m_size->setText(estimate.size);
    m_modem->setText(estimate.modem);
    m_adsl->setText(estimate.adsl);
}

void StatusArea::setFileNotice(const QString &notice)
{
    m_fileNotice->setText(notice);
}

void StatusArea::showModified()
{
    m_modified->setText(m_document.isModified() ? QStringLiteral("Modificado") : QString());
}

void StatusArea::showEncoding()
{
    m_encoding->setText(encodingCaption(m_document.state().encoding));
}

void StatusArea::showLineEnds(bool counted)
{
    const PageText &page = m_view.page();
    if (page.linesAlike()) {
        m_lineEndsCount->stop();
        m_lineEnds->setText(lineEndName(page.pageLineEnd()));
        return;
    }
    // Only a page that mixes them, or holds a long line in parts, needs its lines counted.
    if (!counted) {
        m_lineEndsCount->start();
        return;
    }
    const int blocks = page.document()->blockCount();
    std::optional<PageText::LineEnd> seen;
    for (int block = 0; block + 1 < blocks; ++block) {
        const PageText::LineEnd end = page.lineEndOf(block);
        if (end == PageText::LineEnd::None)
            continue;
        if (seen && *seen != end) {
            m_lineEnds->setText(QStringLiteral("Mixtos"));
            return;
        }
        seen = end;
    }
    m_lineEnds->setText(lineEndName(seen.value_or(page.pageLineEnd())));
}

void StatusArea::showPosition()
{
    const PageText &page = m_view.page();
    const QTextCursor caret = m_view.textCursor();
    const int block = caret.blockNumber();
    int line = block;
    qint64 column = caret.positionInBlock();
    if (!page.linesAlike()) {
        // A long line is held in several blocks, joined by breaks that are no characters.
        line = page.lineOfBlock(block);
        const int first = page.firstBlockOfLine(line);
        column = caret.position() - page.document()->findBlockByNumber(first).position() -
                 (block - first);
    }
    m_position->setText(QStringLiteral("Lín %1, col %2").arg(line + 1).arg(column + 1));
}

} // namespace zendral
