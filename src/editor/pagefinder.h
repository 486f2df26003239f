#pragma once

#include "colour.h"
#include "searchpattern.h"
#include "searchtext.h"

#include <QObject>

#include <optional>

namespace zendral {

class PageText;

// Finds and replaces over a page, in the page's own positions (a CR LF counts two), with the
// options of a SearchPattern: forward or back, within a stretch of the page or all of it,
// going on from the other end or not. It reads the page's text once per change of it, never
// while the author types.
class PageFinder : public QObject
{
    Q_OBJECT

public:
    explicit PageFinder(PageText &page, QObject *parent = nullptr);

    // A stretch of the page, from start to end.
    struct Stretch
    {
        qint64 start = 0;
        qint64 end = 0;
    };
    // A hit found, which of how many the stretch searched holds (1-based), and whether the
    // search went on from the other end to find it.
    struct Found
    {
        qint64 start = 0;
        qint64 length = 0;
        qint64 index = 0;
        qint64 total = 0;
        bool wrapped = false;
    };
    enum class Direction { Forward, Backward };

    // Selects the next hit after the selection (or the previous one before it) within the
    // stretch (the whole page without one); nothing found leaves the selection alone.
    std::optional<Found> find(const SearchPattern &pattern, Direction direction, bool wrap,
                              std::optional<Stretch> within = std::nullopt);
    // Whether the selection is a hit, as find selects one.
    bool selectionIsHit(const SearchPattern &pattern, std::optional<Stretch> within = std::nullopt);
    // Replaces the selection when it is a hit, as one change of the page, in the colour of the
    // text it replaces (a hit inside a tag stays in the tag's colour); false when it is not.
    bool replaceSelection(const SearchPattern &pattern, const QString &replacement,
                          std::optional<Stretch> within = std::nullopt);
    // Replaces every hit in the stretch (the whole page without one) as one change of the
    // page, then colours the page as opening it does; the caret stays where it was among
    // the text around it. Gives how many were replaced.
    qint64 replaceAll(const SearchPattern &pattern, const QString &replacement,
                      std::optional<Stretch> within = std::nullopt);

private:
    const SearchText &searchText();
    // The stretch in search positions.
    Stretch searched(std::optional<Stretch> within);
    // Which hit starting at start is, counting from the stretch's start, and how many it has.
    std::pair<qint64, qint64> place(const SearchPattern &pattern, Stretch stretch, qint64 start);
    // Replaces a stretch of the page (page positions) by text, written as it stands in colour.
    void replaceStretch(qint64 start, qint64 length, const QString &text, Colour colour);

    PageText &m_page;
    QString m_original;
    SearchText m_text;
    bool m_current = false;
};

} // namespace zendral
