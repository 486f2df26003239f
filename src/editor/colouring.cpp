#include "colouring.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <functional>

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

namespace {

// QChar::toCaseFolded, without a call for the ASCII most of a page is made of.
QChar foldedCase(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return QChar(u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u);
    return c.toCaseFolded();
}

// Finds the first entry of the table whose prefix occurs anywhere in a tag's text, letters
// compared without case, reading the table once for a whole page: a prefix can only be found
// where one of its first character's case variants stands, so each character of a tag is
// looked up once and only the entries starting with it are compared.
class TagMatcher
{
public:
    explicit TagMatcher(const QStringList &table)
    {
        for (qsizetype index = 0; index < table.size(); ++index) {
            const QStringView prefix = QStringView(table.at(index)).mid(1);
            // The empty entry is found in any tag and sets no colour: nothing after it counts.
            if (prefix.isEmpty())
                break;
            QString foldedPrefix;
            for (const QChar c : prefix)
                foldedPrefix.append(foldedCase(c));
            if (!m_firsts.contains(foldedPrefix.front()))
                m_firsts.append(foldedPrefix.front());
            m_longest = std::max(m_longest, foldedPrefix.size());
            m_entries.push_back({index, foldedPrefix});
        }
    }

    // The first entry (of best, when not -1, and those before it) whose prefix occurs in text.
    qsizetype firstIn(QStringView text, qsizetype best) const
    {
        const QChar *data = text.data();
        for (qsizetype at = 0; at < text.size(); ++at) {
            const QChar c = foldedCase(data[at]);
            if (!m_firsts.contains(c))
                continue;
            for (const Entry &entry : m_entries) {
                if (best >= 0 && entry.index >= best)
                    break;
                if (entry.folded.front() == c && startsHere(text, at, entry.folded))
                    best = entry.index;
            }
        }
        return best;
    }

    // The longest prefix: a tag read in parts keeps one character less of the part before.
    qsizetype longest() const { return m_longest; }

private:
    struct Entry
    {
        qsizetype index;
        QString folded;
    };

    static bool startsHere(QStringView text, qsizetype at, const QString &folded)
    {
        if (text.size() - at < folded.size())
            return false;
        for (qsizetype i = 1; i < folded.size(); ++i) {
            if (foldedCase(text.at(at + i)) != folded.at(i))
                return false;
        }
        return true;
    }

    std::vector<Entry> m_entries;
    // The first characters of the entries, folded: "<" and "-" for the page's table.
    QString m_firsts;
    qsizetype m_longest = 0;
};

// The whole-text pass over a text read in pieces: each tag's span is handed on as soon as its
// ">" is read, so neither the whole text nor the whole page's spans are ever gathered.
class Planner
{
public:
    Planner(const QStringList &table, const std::function<void(const ColourSpan &)> &paint)
        : m_table(table), m_matcher(table), m_paint(paint)
    {}

    void add(QStringView piece)
    {
        qsizetype i = 0;
        while (i < piece.size()) {
            if (m_tagStart < 0) {
                const qsizetype open = piece.indexOf(u'<', i);
                if (open < 0)
                    break;
                m_tagStart = m_offset + open;
                m_best = -1;
                m_tail.clear();
                i = open;
            }
            // Every "<" up to the ">" belongs to the tag.
            const qsizetype close = piece.indexOf(u'>', i);
            const QStringView part = piece.mid(i, (close < 0 ? piece.size() : close) - i);
            if (m_tail.isEmpty()) {
                m_best = m_matcher.firstIn(part, m_best);
            } else {
                m_tail += part;
                m_best = m_matcher.firstIn(m_tail, m_best);
            }
            if (close < 0) {
                // A prefix may go on in the next piece.
                m_tail = (m_tail.isEmpty() ? part : QStringView(m_tail))
                             .right(m_matcher.longest() - 1)
                             .toString();
                break;
            }
            endTag(m_offset + close);
            i = close + 1;
        }
        m_offset += piece.size();
    }

    const ColouringPlan &plan() const { return m_plan; }

private:
    void endTag(qint64 close)
    {
        m_plan.lastTagStart = m_tagStart + 1;
        m_plan.lastTagLength = close - m_tagStart - 1;
        if (m_best >= 0) {
            if (const std::optional<Colour> colour = classColour(m_table.at(m_best).at(0)))
                m_paint({m_tagStart + 1, close - m_tagStart - 1, *colour});
        }
        m_tagStart = -1;
    }

    const QStringList &m_table;
    const TagMatcher m_matcher;
    const std::function<void(const ColourSpan &)> &m_paint;
    ColouringPlan m_plan;
    // Where the piece being read starts in the text.
    qint64 m_offset = 0;
    // The "<" of a tag whose ">" is not read yet, or -1; the first entry found in it so far,
    // and its last characters, where a prefix may begin that the next piece ends.
    qint64 m_tagStart = -1;
    qsizetype m_best = -1;
    QString m_tail;
};

} // namespace

ColouringPlan planColours(const QString &text, const QStringList &table)
{
    std::vector<ColourSpan> spans;
    const std::function<void(const ColourSpan &)> paint = [&spans](const ColourSpan &span) {
        spans.push_back(span);
    };
    Planner planner(table, paint);
    planner.add(text);
    ColouringPlan plan = planner.plan();
    plan.spans = std::move(spans);
    return plan;
}

void Colorea(PageText &page, const QStringList &table)
{
    ColouringPlan plan;
    {
        PageText::Painter painter(page);
        const std::function<void(const ColourSpan &)> paint = [&painter](const ColourSpan &span) {
            painter.paint(span);
        };
        Planner planner(table, paint);
        page.forEachPiece([&planner](QStringView piece) {
            planner.add(piece);
            return true;
        });
        plan = planner.plan();
    }
    if (plan.lastTagStart >= 0) {
        page.setSelectionStart(plan.lastTagStart);
        page.setSelectionLength(plan.lastTagLength);
    }
}

bool colourTagBeforeCaret(PageText &page, const QStringList &table)
{
    const qint64 caret = page.selectionStart();
    const qint64 selected = page.selectionLength();
    // The look-back reads at most LookBack characters, whatever lies before them.
    const qint64 backFrom = std::max<qint64>(0, caret - LookBack);
    // A tag nearly always opens on the line it closes on, which the page reads first.
    const qint64 open = page.lastIndexOf(u'<', backFrom, caret);
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
    // Put back only if it moved: placing the caret lays its line out again. A selection stays
    // as it was: a wrapped word or an undone step keeps its selection after a typed ">".
    if (page.selectionStart() != caret || page.selectionLength() != selected) {
        page.setSelectionStart(caret);
        page.setSelectionLength(selected);
    }
    return true;
}

} // namespace zendral
