#include "colouring.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace zendral {

namespace {

const QString TagString = QStringLiteral(
    "1<A 1<T 0<P 0<U 0<B 1</A 1</T 0</P 0</U 0</B 0<H 0<LI> 0</L 0</H 4<!- 4--> 2<FOR 2<INP "
    "2<TEX 0<FON 3<IMG 0<IFR 0<ILA 0<DIV 5<MET 7<SCR 7<APP 0<BLI 0<TIT 0<HEA 0<FRA 2<SEL 2</FOR "
    "2</TEX 0</FON 3</IMG 0</IFR 0</ILA 0</DIV 0</MET 7</SCR 7</APP 0</BLI 0</TIT 0</HEA 0</FRA "
    "2</SEL ");

// How far a typed ">" looks back for its "<". No tag of a real page is this long, and a "<"
// farther back would colour a stretch of plain text; reading megabytes per keystroke would
// freeze the window.
constexpr qint64 LookBack = 65536;

// Whether text holds prefix, letters compared without case. Folding each character keeps
// the lengths: upper-casing turns "ß" into "SS" and would slide every window after it.
bool holds(QStringView text, QStringView prefix)
{
    // An empty prefix is found in any non-empty text.
    return prefix.isEmpty() ? !text.isEmpty() : text.contains(prefix, Qt::CaseInsensitive);
}

// The last "<" between backFrom and caret, or -1. Read line by line from the caret's line
// back, each line only as far as needed: a tag nearly always opens on the line it closes on.
qint64 openingBefore(const PageText &page, qint64 backFrom, qint64 caret)
{
    const QTextDocument *document = page.document();
    const qint64 stop = page.toWidgetPosition(backFrom);
    qint64 end = page.toWidgetPosition(caret);
    QTextBlock block = document->findBlock(int(end));
    while (block.isValid() && end > stop) {
        const qint64 start = std::max<qint64>(block.position(), stop);
        // The block's own text, not a cursor's selection: a cursor lays out each line it is
        // put in, and the look-back may pass through many.
        const QString line = block.text();
        const qsizetype found =
            QStringView(line).mid(start - block.position(), end - start).lastIndexOf(u'<');
        if (found >= 0)
            return page.fromWidgetPosition(start + found);
        block = block.previous();
        if (block.isValid())
            end = block.position() + block.length() - 1;
    }
    return -1;
}

} // namespace

QStringList TablaEtiquetas()
{
    return TagString.split(u' ');
}

std::optional<Colour> classColour(QChar classDigit)
{
    switch (classDigit.unicode()) {
    case '0':
        return 0xFF0000;
    case '1':
        return 0x008000;
    case '2':
        return 0x0080FF;
    case '3':
        return 0xC000C0;
    case '4':
        return 0xC0C0C0;
    case '5':
        return 0x0000C0;
    case '6':
        return 0x0000FF;
    case '7':
        return 0x0040C0;
    default:
        return std::nullopt;
    }
}

qsizetype matchingEntry(const QStringList &table, QStringView tagText)
{
    for (qsizetype index = 0; index < table.size(); ++index) {
        if (holds(tagText, QStringView(table.at(index)).mid(1)))
            return index;
    }
    return -1;
}

ColouringPlan planColours(const QString &text, const QStringList &table)
{
    ColouringPlan plan;
    const qsizetype size = text.size();
    // The next ">" is remembered instead of searched again for every "<".
    qsizetype nextClose = -1;
    for (qsizetype i = 0; i < size; ++i) {
        if (text.at(i) != u'<')
            continue;
        if (nextClose < i) {
            nextClose = text.indexOf(u'>', i);
            if (nextClose < 0)
                break; // no ">" after this "<", nor after any later one
        }
        const qsizetype close = nextClose;
        const qsizetype index = matchingEntry(table, QStringView(text).mid(i, close - i));
        plan.lastTagStart = i + 1;
        plan.lastTagLength = close - i - 1;
        if (index >= 0 && !table.at(index).isEmpty()) {
            if (const std::optional<Colour> colour = classColour(table.at(index).at(0)))
                plan.spans.push_back({i + 1, close - i - 1, *colour});
        }
        i = close;
    }
    return plan;
}

void Colorea(PageText &page, const QStringList &table)
{
    const ColouringPlan plan = planColours(page.text(), table);
    page.applyColours(plan.spans);
    if (plan.lastTagStart >= 0) {
        page.setSelectionStart(plan.lastTagStart);
        page.setSelectionLength(plan.lastTagLength);
    }
}

bool colourTagBeforeCaret(PageText &page, const QStringList &table)
{
    const qint64 caret = page.selectionStart();
    // The look-back reads at most LookBack characters, whatever lies before them.
    const qint64 backFrom = std::max<qint64>(0, caret - LookBack);
    const qint64 open = openingBefore(page, backFrom, caret);
    if (open < 0)
        return false;
    // Each entry looks at the prefix's length before the "<" and from it onwards, so the
    // window reaches past the "<" and entries holding ">" can match.
    qint64 longest = 0;
    for (const QString &entry : table)
        longest = std::max<qint64>(longest, entry.size() - 1);
    const qint64 areaStart = std::max<qint64>(0, open - longest);
    const QString area = page.textRange(areaStart, open + longest - areaStart);
    std::optional<Colour> colour;
    for (const QString &entry : table) {
        const qint64 length = entry.size() - 1;
        const qint64 from = std::max<qint64>(0, open - length) - areaStart;
        const qint64 to = std::min<qint64>(open + length - areaStart, area.size());
        const QStringView window = QStringView(area).mid(from, std::max<qint64>(0, to - from));
        if (holds(window, QStringView(entry).mid(1))) {
            if (!entry.isEmpty())
                colour = classColour(entry.at(0));
            break;
        }
    }
    const qint64 insideLength = caret - open - 2;
    // Only characters are ever coloured: with nothing inside the tag, no colour is set.
    // Painting the inside directly gives what selecting it, colouring the selection and
    // putting the caret back gives, without moving the view three times per keystroke.
    if (colour && insideLength > 0)
        page.applyColours({{open + 1, insideLength, *colour}});
    // Put back only if it moved: placing the caret lays its line out again.
    if (page.selectionStart() != caret || page.selectionLength() != 0)
        page.setSelectionStart(caret);
    return true;
}

} // namespace zendral
