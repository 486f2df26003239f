#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace zendral {

class EditingSurface;
class PageText;
struct TagPair;

// Highlights, while the caret is in a tag's name, that tag and the one it pairs with, and
// takes the caret to the pair ("Ir a la etiqueta pareja").
//
// The pair is looked for at most Reach characters on either side of the caret (nearer first),
// so that a move of the caret costs the same on any page; a pair further away is not found,
// and a comment or script opened before the stretch read is not known for one.
class MatchingTagMarks : public QObject
{
    Q_OBJECT

public:
    explicit MatchingTagMarks(EditingSurface &view, QObject *parent = nullptr);

    // Moves the caret into the name of the tag that pairs with the one it is in; elsewhere
    // does nothing.
    void goToPair();

    static constexpr qint64 Reach = 100 * 1000;
    // The longest tag name the caret is looked for in before anything else is read.
    static constexpr qint64 LongestName = 64;

private:
    // Whether the characters just before the caret could be a tag's "<" and name.
    bool maybeInName() const;
    void caretMoved();
    void mark();
    // The pair around the caret, in document positions.
    std::optional<TagPair> pairAtCaret();
    // The name of the opening tag that ends at the caret; empty when the caret ends none.
    // nameless: no name can hold the caret, which has no name character on either side.
    QString openingNameEndingAtCaret(bool *nameless) const;
    // The names of the closing tags in the text after a tag's name, case folded, as each
    // reach reads them.
    static QSet<QString> closingNamesIn(QStringView after);
    void followEdit(qint64 start, qint64 removed, qint64 added);

    EditingSurface &m_view;
    PageText &m_page;
    bool m_scheduled = false;
    bool m_shown = false;
    // Where an opening tag's name ended whose search found no pair. Whether a tag ending
    // there has a pair hangs only on its name and on the text after it, which stays as it was
    // while every edit falls before it: as a new tag is typed there, name after name is
    // answered without reading the page, by the names that had no pair and by those that no
    // closing tag after it bears.
    qint64 m_failedAt = -1;
    QStringList m_unpairedNames;
    QSet<QString> m_closingNames;
};

} // namespace zendral
