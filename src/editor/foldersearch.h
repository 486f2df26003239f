#pragma once

#include "searchpattern.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace zendral {

// One hit of a search over a folder's pages.
struct FolderHit
{
    QString path;
    // The line the hit starts on, 1-based.
    qint64 line = 0;
    // That line as the page shows it, cut around the hit when it is long.
    QString lineText;
    // Where the hit stands in lineText, and how much of it lineText shows.
    qint64 column = 0;
    qint64 columnLength = 0;
    // The hit in the page once it is opened, in its positions (a CR LF counts two).
    qint64 start = 0;
    qint64 length = 0;
};

// What a search over a folder went through.
struct FolderSearchSummary
{
    qint64 files = 0;
    // Every hit counted; only the first FolderSearch::MostHits are told.
    qint64 hits = 0;
    qint64 filesWithHits = 0;
    // Files passed over: binary ones, and ones that could not be read.
    qint64 binary = 0;
    qint64 unreadable = 0;
    bool stopped = false;
};

// The files of a folder and its subfolders that a search reads: pages (".htm", ".html",
// ".asp"), style sheets and scripts, hidden ones left out, in name order. Folders reached by a
// symbolic link are not entered, and a file that is a link counts only when it leads to a file
// inside the folder.
QStringList searchedFiles(const QString &folder, const std::atomic<bool> *stop = nullptr);

// How many hits of pattern one file's bytes hold, read as opening the file reads them; the
// first keep of them are added to hits. Nothing for binary bytes.
std::optional<qint64> searchBytes(const QByteArray &bytes, const QString &path,
                                  const SearchPattern &pattern, QList<FolderHit> &hits,
                                  qint64 keep);

// Searches the pages of a folder on a worker thread, telling its hits and progress as it
// goes; the window stays free meanwhile. A new start or stop drops what the search under way
// would still tell.
class FolderSearch : public QObject
{
    Q_OBJECT

public:
    explicit FolderSearch(QObject *parent = nullptr);
    ~FolderSearch() override;

    // Hits told at most: a common word over a big site would fill the memory, and a list
    // nobody reads to its end, with hundreds of thousands.
    static constexpr qint64 MostHits = 10000;

    void start(const QString &folder, const SearchPattern &pattern);
    // Stops the search under way; it tells that it finished, stopped.
    void stop();
    bool isRunning() const { return m_running; }

signals:
    void hitsFound(const QList<FolderHit> &hits);
    // done files of total are read.
    void progress(qint64 done, qint64 total);
    void finished(const FolderSearchSummary &summary);

private:
    // Runs on the worker thread.
    void run(const QString &folder, const SearchPattern &pattern, quint64 generation);
    // Hands work to the window's thread, unless a newer search has begun.
    void tell(quint64 generation, std::function<void()> report);
    void join();

    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_stop;
    std::atomic<quint64> m_generation = 0;
    bool m_running = false;
};

} // namespace zendral
