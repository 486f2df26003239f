#include "foldersearch.h"

#include "documentfile.h"
#include "searchtext.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpressionMatchIterator>

#include <algorithm>

namespace zendral {

namespace {

const QStringList SearchedKinds = {QStringLiteral("*.htm"), QStringLiteral("*.html"),
                                   QStringLiteral("*.asp"), QStringLiteral("*.css"),
                                   QStringLiteral("*.js")};
// A file larger than this is not a page a search reads whole.
constexpr qint64 LargestFile = 256 * 1024 * 1024;
// Characters of a long line shown before and after its hit.
constexpr qint64 ShownBefore = 80;
constexpr qint64 ShownAfter = 240;
// How often the worker tells what it found.
constexpr qint64 ReportMilliseconds = 100;

// Whether path lies inside folder (both canonical).
bool inside(const QString &path, const QString &folder)
{
    return path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

} // namespace

QStringList searchedFiles(const QString &folder, const std::atomic<bool> *stop)
{
    const QString root = QFileInfo(folder).canonicalFilePath();
    QStringList files;
    if (root.isEmpty())
        return files;
    // Without FollowSymlinks the iterator enters no folder reached by a link.
    QDirIterator entries(root, SearchedKinds, QDir::Files | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        if (stop && *stop)
            break;
        const QString path = entries.next();
        const QFileInfo info = entries.fileInfo();
        if (info.isSymLink() && !inside(info.canonicalFilePath(), root))
            continue;
        files.append(path);
    }
    files.sort();
    return files;
}

std::optional<qint64> searchBytes(const QByteArray &bytes, const QString &path,
                                  const SearchPattern &pattern, QList<FolderHit> &hits, qint64 keep)
{
    if (looksBinary(bytes))
        return std::nullopt;
    const QString original = decodeDocument(bytes).text;
    const SearchText searched(original);
    const QString &text = searched.text();
    const QChar *data = text.constData();
    qint64 line = 1;
    qint64 lineStart = 0;
    qint64 counted = 0;
    qint64 found = 0;
    QRegularExpressionMatchIterator matches = pattern.expression().globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        if (++found > keep)
            continue;
        const qint64 start = match.capturedStart();
        for (; counted < start; ++counted) {
            if (data[counted] == u'\n') {
                ++line;
                lineStart = counted + 1;
            }
        }
        qint64 lineEnd = text.indexOf(u'\n', start);
        if (lineEnd < 0)
            lineEnd = text.size();
        const qint64 shownFrom = std::max(lineStart, start - ShownBefore);
        const qint64 shownTo =
            std::min(lineEnd, std::max(start, qint64(match.capturedEnd())) + ShownAfter);
        FolderHit hit;
        hit.path = path;
        hit.line = line;
        hit.lineText = text.mid(shownFrom, shownTo - shownFrom);
        hit.column = start - shownFrom;
        hit.columnLength = std::min<qint64>(match.capturedEnd(), shownTo) - start;
        hit.start = searched.toOriginal(start);
        hit.length = searched.toOriginal(match.capturedEnd()) - hit.start;
        hits.append(std::move(hit));
    }
    return found;
}

FolderSearch::FolderSearch(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<QList<FolderHit>>();
    qRegisterMetaType<FolderSearchSummary>();
}

FolderSearch::~FolderSearch()
{
    ++m_generation;
    join();
}

void FolderSearch::join()
{
    if (m_stop)
        *m_stop = true;
    if (m_worker.joinable())
        m_worker.join();
}

void FolderSearch::start(const QString &folder, const SearchPattern &pattern)
{
    const quint64 generation = ++m_generation;
    join();
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_running = true;
    m_worker =
        std::thread([this, folder, pattern, generation] { run(folder, pattern, generation); });
}

void FolderSearch::stop()
{
    if (m_stop)
        *m_stop = true;
}

void FolderSearch::tell(quint64 generation, std::function<void()> report)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation, report = std::move(report)] {
            if (generation == m_generation)
                report();
        },
        Qt::QueuedConnection);
}

void FolderSearch::run(const QString &folder, const SearchPattern &pattern, quint64 generation)
{
    const std::shared_ptr<std::atomic<bool>> stop = m_stop;
    FolderSearchSummary summary;
    const QStringList files = searchedFiles(folder, stop.get());
    QList<FolderHit> found;
    QElapsedTimer sinceReport;
    sinceReport.start();
    qint64 done = 0;
    const auto report = [&] {
        tell(generation, [this, found, done, total = qint64(files.size())] {
            if (!found.isEmpty())
                emit hitsFound(found);
            emit progress(done, total);
        });
        found.clear();
        sinceReport.restart();
    };
    for (const QString &path : files) {
        if (*stop)
            break;
        QFile file(path);
        // A file that turned into something else since it was listed (a FIFO would hold the
        // thread) is not read.
        if (!QFileInfo(path).isFile() || QFileInfo(path).size() > LargestFile ||
            !file.open(QIODevice::ReadOnly)) {
            ++summary.unreadable;
        } else {
            const QByteArray bytes = file.read(LargestFile);
            if (file.error() != QFileDevice::NoError) {
                ++summary.unreadable;
            } else if (const std::optional<qint64> hits =
                           searchBytes(bytes, path, pattern, found,
                                       std::max<qint64>(0, MostHits - summary.hits))) {
                summary.hits += *hits;
                summary.filesWithHits += *hits > 0;
            } else {
                ++summary.binary;
            }
        }
        ++done;
        if (sinceReport.elapsed() >= ReportMilliseconds)
            report();
    }
    report();
    summary.files = done - summary.binary - summary.unreadable;
    summary.stopped = *stop;
    tell(generation, [this, summary] {
        m_running = false;
        emit finished(summary);
    });
}

} // namespace zendral
