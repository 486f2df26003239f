#pragma once

#include "linemap.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace zendral {

// Inside the document every line end, and every join of a held line, is one paragraph separator.
constexpr QChar ParagraphSeparator = QChar::ParagraphSeparator;
// Characters the widget does not hold as themselves: U+2029 and Qt's frame markers U+FDD0 and
// U+FDD1 break a block, U+2028 is laid out as a break inside one. Inside the widget each stands
// as a lone low surrogate, a code unit no page holds: a page's text is whole code points but
// for the bytes of a UTF-8 page that are not UTF-8, each kept as a lone U+DC80 to U+DCFF
// (isKeptByte); any other lone surrogate that comes in is taken as U+FFFD. A low surrogate is a
// stand-in only where no high surrogate comes before it, since the second half of a pair may
// hold the same value.
inline constexpr char16_t StandInFor[][2] = {
    {0x2028, 0xDFFC}, {0x2029, 0xDFFD}, {0xFDD0, 0xDFFE}, {0xFDD1, 0xDFFF}};
inline constexpr char16_t FirstStandIn = 0xDFFC;

// The unit the widget holds for the page's unit at i of a text of size units.
inline char16_t widgetUnit(const QChar *data, qsizetype i, qsizetype size)
{
    const char16_t c = data[i].unicode();
    if (c < StandInFor[0][0])
        return c;
    if (QChar::isHighSurrogate(c))
        return i + 1 < size && data[i + 1].isLowSurrogate() ? c
                                                            : char16_t(QChar::ReplacementCharacter);
    if (QChar::isLowSurrogate(c))
        return (i > 0 && data[i - 1].isHighSurrogate()) || (c >= 0xDC80 && c <= 0xDCFF)
                   ? c
                   : char16_t(QChar::ReplacementCharacter);
    for (const auto &[held, standIn] : StandInFor) {
        if (c == held)
            return standIn;
    }
    return c;
}

// The page's character for a unit of the widget, given the unit before it (none: 0).
inline char16_t pageUnit(char16_t c, char16_t before)
{
    if (c < FirstStandIn || !QChar::isLowSurrogate(c) || QChar::isHighSurrogate(before))
        return c;
    return StandInFor[c - FirstStandIn][0];
}

// Whether a held line that has reached column characters in its block is cut before c: never
// between the halves of a surrogate pair.
inline bool cutsBefore(bool held, qint64 column, QChar c)
{
    return held && column >= HeldPartLength && !c.isLowSurrogate();
}

// Where the line that starts at from ends: at its CR or LF, or at the end of the text.
inline qsizetype lineEndFrom(const QChar *data, qsizetype from, qsizetype size)
{
    while (from < size && data[from] != u'\r' && data[from] != u'\n')
        ++from;
    return from;
}

// A page's text as the document holds it, and the kinds of its breaks, one per break in order.
struct WidgetText
{
    QString text;
    std::vector<LineEnd> ends;
};

// The page's text with every line end a paragraph separator, the kinds of the ends apart; a
// long line is cut into blocks joined by separators that stand for nothing.
WidgetText toWidgetText(const QString &text);
// Document text back to the page's text; ends holds one line end per block from the first
// block of raw on (none: every line ends in pageEnd); breaksHeld, when given, learns how many
// breaks raw holds; before is the unit the document holds before raw (0: none, or a break).
QString documentText(QStringView raw, const std::vector<LineEnd> &allEnds, LineEnd pageEnd,
                     int firstBlock, qsizetype *breaksHeld, char16_t before = 0);

} // namespace zendral
