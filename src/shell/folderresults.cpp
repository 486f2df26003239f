#include "folderresults.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zendral {

namespace {

// No access keys: in the window they would take the menu bar's letters (Alt+E is Edición).
namespace captions {
const QString Folder = QStringLiteral("Carpeta:");
const QString Text = QStringLiteral("Buscar:");
const QString MatchCase = QStringLiteral("Mayúsculas y minúsculas");
const QString WholeWord = QStringLiteral("Palabra completa");
const QString Expression = QStringLiteral("Expresión regular");
const QString Start = QStringLiteral("Buscar");
const QString Stop = QStringLiteral("Detener");
const QStringList Columns = {QStringLiteral("Archivo"), QStringLiteral("Línea"),
                             QStringLiteral("Texto")};
const QString NoFolder = QStringLiteral("No se encuentra la carpeta %1");
const QString Searching = QStringLiteral("Buscando…");
const QString Summary = QStringLiteral("%1 apariciones en %2 archivos; se leyeron %3 archivos");
const QString Stopped = QStringLiteral("Búsqueda detenida: ");
const QString Binary = QStringLiteral("; se omitieron %1 archivos binarios");
const QString Unreadable = QStringLiteral("; no se pudieron leer %1 archivos");
const QString FirstShown = QStringLiteral("; se muestran las primeras %1");
} // namespace captions

// Where a hit's row keeps the hit.
enum Role { PathRole = Qt::UserRole, StartRole, LengthRole, ColumnRole, ColumnLengthRole };

// Paints a line's text with its hit on a marker's background.
class HitDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        const QString text = plain.text;
        plain.text.clear();
        QStyle *style = plain.widget ? plain.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &plain, plain.widget)
                               .adjusted(2, 0, -2, 0);
        const qsizetype column = index.data(ColumnRole).toLongLong();
        const qsizetype length = index.data(ColumnLengthRole).toLongLong();
        const QFontMetrics metrics(plain.font);
        const int before = metrics.horizontalAdvance(text.left(column));
        const int marked = metrics.horizontalAdvance(text.mid(column, length));
        painter->save();
        painter->fillRect(QRect(area.left() + before, area.top(), marked, area.height()),
                          QColor(255, 236, 120));
        painter->setPen(plain.palette.color(
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
    }
};

QCheckBox *makeCheck(QWidget *parent, const QString &name, const QString &caption)
{
    auto *check = new QCheckBox(caption, parent);
    check->setObjectName(name);
    return check;
}

} // namespace

FolderResults::FolderResults(QWidget *parent)
    : QWidget(parent), m_search(this), m_folder(new QLineEdit(this)), m_text(new QLineEdit(this)),
      m_matchCase(makeCheck(this, QStringLiteral("chkmayusculasarchivos"), captions::MatchCase)),
      m_wholeWord(makeCheck(this, QStringLiteral("chkpalabraarchivos"), captions::WholeWord)),
      m_expression(makeCheck(this, QStringLiteral("chkregexarchivos"), captions::Expression)),
      m_start(new QPushButton(captions::Start, this)),
      m_stop(new QPushButton(captions::Stop, this)), m_progress(new QProgressBar(this)),
      m_status(new QLabel(this)), m_hits(new QTreeWidget(this))
{
    m_folder->setObjectName(QStringLiteral("txtcarpeta"));
    m_text->setObjectName(QStringLiteral("txtbuscararchivos"));
    m_start->setObjectName(QStringLiteral("btnbuscararchivos"));
    m_stop->setObjectName(QStringLiteral("btndetener"));
    m_stop->setEnabled(false);
    m_progress->setObjectName(QStringLiteral("progresobusqueda"));
    m_progress->setVisible(false);
    m_status->setObjectName(QStringLiteral("lblbusqueda"));
    m_status->setTextFormat(Qt::PlainText);
    m_hits->setObjectName(QStringLiteral("lstresultados"));
    m_hits->setHeaderLabels(captions::Columns);
    m_hits->setRootIsDecorated(false);
    m_hits->setUniformRowHeights(true);
    m_hits->setItemDelegateForColumn(2, new HitDelegate(m_hits));
    m_hits->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_hits->setColumnWidth(0, fontMetrics().averageCharWidth() * 30);
    m_hits->setColumnWidth(1, fontMetrics().averageCharWidth() * 7);

    const auto label = [this](const QString &caption, QWidget *buddy) {
        auto *result = new QLabel(caption, this);
        result->setBuddy(buddy);
        return result;
    };
    auto *form = new QGridLayout;
    form->addWidget(label(captions::Text, m_text), 0, 0);
    form->addWidget(m_text, 0, 1);
    form->addWidget(label(captions::Folder, m_folder), 1, 0);
    form->addWidget(m_folder, 1, 1);
    auto *options = new QHBoxLayout;
    for (QWidget *part : std::initializer_list<QWidget *>{m_matchCase, m_wholeWord, m_expression,
                                                          m_start, m_stop, m_progress})
        options->addWidget(part);
    options->addWidget(m_status, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(form);
    layout->addLayout(options);
    layout->addWidget(m_hits, 1);

    connect(m_start, &QPushButton::clicked, this, &FolderResults::search);
    connect(m_text, &QLineEdit::returnPressed, this, &FolderResults::search);
    connect(m_folder, &QLineEdit::returnPressed, this, &FolderResults::search);
    connect(m_stop, &QPushButton::clicked, &m_search, &FolderSearch::stop);
    connect(&m_search, &FolderSearch::hitsFound, this, &FolderResults::addHits);
    connect(&m_search, &FolderSearch::progress, this, [this](qint64 done, qint64 total) {
        m_progress->setMaximum(int(std::min<qint64>(total, INT_MAX)));
        m_progress->setValue(int(std::min<qint64>(done, INT_MAX)));
    });
    connect(&m_search, &FolderSearch::finished, this, &FolderResults::finish);
    connect(m_hits, &QTreeWidget::itemDoubleClicked, this, &FolderResults::chosen);
    m_hits->viewport()->installEventFilter(this);
}

bool FolderResults::eventFilter(QObject *watched, QEvent *event)
{
    // The click's own modifiers: the application's may not have caught up with the mouse.
    if (event->type() == QEvent::MouseButtonDblClick)
        m_controlHeld =
            static_cast<QMouseEvent *>(event)->modifiers().testFlag(Qt::ControlModifier);
    return QWidget::eventFilter(watched, event);
}

void FolderResults::prepare(const QString &folder, const QString &text)
{
    if (m_folder->text().isEmpty() || !folder.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(folder));
    if (!text.isEmpty())
        m_text->setText(text);
    m_text->setFocus();
    m_text->selectAll();
}

void FolderResults::search()
{
    const SearchPattern pattern(m_text->text(), {.matchCase = m_matchCase->isChecked(),
                                                 .wholeWord = m_wholeWord->isChecked(),
                                                 .regularExpression = m_expression->isChecked()});
    if (!pattern.error().isEmpty()) {
        m_status->setText(pattern.error());
        return;
    }
    if (!pattern.isValid())
        return;
    const QString folder = QDir::fromNativeSeparators(m_folder->text());
    if (!QFileInfo(folder).isDir()) {
        m_status->setText(captions::NoFolder.arg(m_folder->text()));
        return;
    }
    m_hits->clear();
    m_root = folder;
    m_status->setText(captions::Searching);
    m_progress->setRange(0, 0);
    m_progress->setVisible(true);
    m_stop->setEnabled(true);
    m_search.start(folder, pattern);
}

void FolderResults::addHits(const QList<FolderHit> &hits)
{
    const QDir root(m_root);
    QList<QTreeWidgetItem *> rows;
    rows.reserve(hits.size());
    for (const FolderHit &hit : hits) {
        auto *row = new QTreeWidgetItem({QDir::toNativeSeparators(root.relativeFilePath(hit.path)),
                                         QString::number(hit.line), hit.lineText});
        row->setData(0, PathRole, hit.path);
        row->setData(0, StartRole, hit.start);
        row->setData(0, LengthRole, hit.length);
        row->setData(2, ColumnRole, hit.column);
        row->setData(2, ColumnLengthRole, hit.columnLength);
        row->setTextAlignment(1, Qt::AlignRight);
        rows.append(row);
    }
    m_hits->addTopLevelItems(rows);
}

void FolderResults::finish(const FolderSearchSummary &summary)
{
    m_stop->setEnabled(false);
    m_progress->setVisible(false);
    QString words =
        captions::Summary.arg(summary.hits).arg(summary.filesWithHits).arg(summary.files);
    if (summary.binary > 0)
        words += captions::Binary.arg(summary.binary);
    if (summary.unreadable > 0)
        words += captions::Unreadable.arg(summary.unreadable);
    if (summary.hits > FolderSearch::MostHits)
        words += captions::FirstShown.arg(FolderSearch::MostHits);
    m_status->setText(summary.stopped ? captions::Stopped + words : words);
}

void FolderResults::chosen(QTreeWidgetItem *item)
{
    emit hitChosen(item->data(0, PathRole).toString(), item->data(0, StartRole).toLongLong(),
                   item->data(0, LengthRole).toLongLong(), m_controlHeld);
}

} // namespace zendral
