// The page and its whole-text colouring: whatever the page, it holds its text as given, and
// the colouring paints tag insides in their class colours and changes no character of the
// text. The live colouring of a ">" typed at the end changes no character either and leaves
// the caret where it was.

#include "colouring.h"
#include "fuzzsupport.h"
#include "pagetext.h"

using namespace zendral;
using namespace zendral::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    startApplication();
    static const QStringList table = TablaEtiquetas();
    static PageText *page = new PageText;

    const QString text = QString::fromUtf8(bytesOf(data, size));
    page->setText(text);
    const QString before = page->text();
    // Qt's own frame markers among them, which broke a block where the page had none.
    check(before == text, "the page holds every character it is given",
          shown(before) + QStringLiteral("\n") + shown(text));
    const ColouringPlan plan = planColours(before, table);

    qint64 end = 0;
    for (const ColourSpan &span : plan.spans) {
        check(span.start >= end && span.length >= 0 && span.start + span.length <= before.size(),
              "spans are in order, apart, and inside the text");
        check(before.at(span.start - 1) == u'<' && before.at(span.start + span.length) == u'>',
              "a span is the inside of a tag");
        end = span.start + span.length;
    }
    check(plan.lastTagStart < 0 || plan.lastTagStart + plan.lastTagLength < before.size(),
          "the last tag is inside the text");

    int changes = 0;
    const QMetaObject::Connection counting =
        QObject::connect(page, &PageText::changed, [&changes] { ++changes; });
    Colorea(*page, table);
    QObject::disconnect(counting);
    check(changes == 0, "colouring raises no change of the text");
    check(page->text() == before, "colouring changes no character",
          shown(page->text()) + QStringLiteral("\n") + shown(before));

    // Every character but a line break's own has the colour the plan gave it, or black.
    auto span = plan.spans.cbegin();
    for (qint64 i = 0; i < before.size(); ++i) {
        if (before.at(i) == u'\r' || before.at(i) == u'\n')
            continue;
        while (span != plan.spans.cend() && span->start + span->length <= i)
            ++span;
        const bool inside = span != plan.spans.cend() && span->start <= i;
        const Colour want = inside ? span->colour : colours::Black;
        check(page->colourAt(i) == want, "each character has its planned colour",
              QString::number(i) + QStringLiteral(" in ") + shown(before));
    }

    const qint64 last = before.size();
    page->setSelectionStart(last);
    colourTagBeforeCaret(*page, table);
    check(page->text() == before, "the live colouring changes no character");
    check(page->selectionStart() == last && page->selectionLength() == 0,
          "the live colouring leaves the caret where it was");
    return 0;
}
