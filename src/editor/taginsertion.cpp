#include "taginsertion.h"

#include "pagetext.h"

namespace zendral {

void InsertTagText(PageText &page, const QString &fragment, std::optional<Colour> colour,
                   std::optional<qint64> backOff)
{
    if (colour)
        page.setInsertionColour(*colour);
    page.setSelectedText(fragment);
    if (colour)
        page.setInsertionColour(colours::Black);
    page.focus();
    // The back-off counts from the end of the whole text, not from the fragment.
    if (backOff)
        page.setSelectionStart(page.textLength() - *backOff);
}

void insertNonBreakingSpace(PageText &page)
{
    page.setInsertionColour(colours::Black);
    page.setInsertionBold(true);
    page.setSelectedText(QStringLiteral("&nbsp;"));
    page.setInsertionBold(false);
    page.focus();
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
