#include "taginsertion.h"

#include "editingsurface.h"

namespace zendral {

void InsertTagText(EditingSurface &text1, const QString &fragment, std::optional<Colour> colour,
                   std::optional<qint64> backOff)
{
    if (colour)
        text1.setInsertionColour(*colour);
    text1.setSelectedText(fragment);
    if (colour)
        text1.setInsertionColour(colours::Black);
    text1.setFocus();
    // The back-off counts from the end of the whole text, not from the fragment.
    if (backOff)
        text1.setSelectionStart(text1.textLength() - *backOff);
}

void insertNonBreakingSpace(EditingSurface &text1)
{
    text1.setInsertionColour(colours::Black);
    text1.setInsertionBold(true);
    text1.setSelectedText(QStringLiteral("&nbsp;"));
    text1.setInsertionBold(false);
    text1.setFocus();
}

const std::vector<OneClickTag> &oneClickTags()
{
    static const QString crlf = QStringLiteral("\r\n");
    static const std::vector<OneClickTag> tags = {
        {QStringLiteral("mn_negrita"), QStringLiteral("btnnegrita"), QStringLiteral("<b>  </b>"),
         colours::Blue, 5},
        {QStringLiteral("mn_cursiva"), QStringLiteral("btnitalica"), QStringLiteral("<i>  </i>"),
         colours::Blue, 5},
        {QStringLiteral("mn_subrayado"), QStringLiteral("btnsubrayado"),
         QStringLiteral("<u>  </u>"), colours::Blue, 5},
        {QStringLiteral("mn_parrafo"), QStringLiteral("btnparrafo"), QStringLiteral("<p>  </p>"),
         colours::Blue, 5},
        {QStringLiteral("mn_br"), QStringLiteral("btnbr"), QStringLiteral("<br>"), colours::Blue,
         std::nullopt},
        {QStringLiteral("mn_aperturaasp"), QStringLiteral("btnapertura"),
         QStringLiteral("<%") + crlf + crlf + crlf + crlf + QStringLiteral("%>"), colours::Red, 8},
        {QStringLiteral("mn_aperturajs"), QStringLiteral("btnjavascript"),
         crlf + QStringLiteral("<script languaje=javascript>") + crlf + crlf + crlf + crlf +
             QStringLiteral("</script>"),
         std::nullopt, 11},
    };
    return tags;
}

} // namespace zendral
