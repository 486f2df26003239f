#include "tagfragments.h"

#include <initializer_list>

namespace zendral {

namespace {

QString joined(std::initializer_list<QStringView> parts)
{
    QString result;
    for (const QStringView part : parts)
        result += part;
    return result;
}

// Body and font: the custom item is "Color personalizádo", the prompt "Selecciona un color".
QString namedColour(const ColourField &colour)
{
    return chosenColour(colour, designTexts::CustomColour, designTexts::ColourPrompt);
}

// Table and cell: the custom item is "Personal", the prompt "Selecciona".
QString personalColour(const ColourField &colour)
{
    return chosenColour(colour, designTexts::PersonalColour, designTexts::Prompt);
}

QString choice(const QString &shown)
{
    return listValue(shown, designTexts::Prompt);
}

// The list spells the new-window target "_Blanck"; browsers only know "_blank".
QString target(const QString &shown)
{
    return shown == QStringLiteral("_Blanck") ? QStringLiteral("_blank") : choice(shown);
}

} // namespace

QString bodyTag(const BodyFields &fields)
{
    return joined({u"<body bgcolor='", namedColour(fields.background), u"' background='",
                   fields.image, u"' text='", namedColour(fields.text), u"' alink='",
                   namedColour(fields.activeLink), u"' vlink='", namedColour(fields.visitedLink),
                   u"' link='", namedColour(fields.link), u"'>", PageLineBreak});
}

QString linkTag(const LinkFields &fields)
{
    // A single blank is an address too: only a box with nothing in it means a mail link.
    if (fields.url.isEmpty())
        return joined({u"<a href='mailto:", fields.mail, u"?subject=", fields.subject, u"' class='",
                       fields.mailClass, u"'>"});
    return joined({u"<a href='", fields.url, u"' target='", target(fields.target), u"' class='",
                   fields.urlClass, u"'>"});
}

QString fontTag(const FontFields &fields)
{
    const QString face = fields.group == designTexts::CustomFont
                             ? fields.customFace
                             : listValue(fields.group, designTexts::FontGroupPrompt);
    return joined({u"<font face='", face, u"' color='", namedColour(fields.colour), u"' size='",
                   choice(fields.size), u"'>"});
}

QString divTag(const DivFields &fields)
{
    if (fields.position == designTexts::Prompt)
        return joined({u"<div align='", choice(fields.align), u"'>"});
    return joined({u"<div style='position:", fields.position, u"; top:", fields.top, u"; left:",
                   fields.left, u"; z-index:", fields.zIndex, u"; height:", fields.height,
                   u"; width:", fields.width, u";'>"});
}

QString iframeTag(const IframeFields &fields)
{
    const QString attributes = joined({fields.name,
                                       u"' id='",
                                       fields.id,
                                       u"' src='",
                                       fields.file,
                                       u"' noresize scrolling='",
                                       choice(fields.scroll),
                                       u"' hspace='",
                                       fields.hspace,
                                       u"' vspace='",
                                       fields.vspace,
                                       u"' frameborder='",
                                       fields.border,
                                       u"' marginheight='",
                                       fields.marginHeight,
                                       u"' marginwidth='",
                                       fields.marginWidth,
                                       u"' width='",
                                       fields.width,
                                       u"' height='",
                                       fields.height,
                                       u"'>"});
    return joined({u"<iframe name='", attributes, u"<ilayer name='", attributes,
                   u"</ilayer></iframe>", PageLineBreak});
}

QString tableTag(const TableFields &fields)
{
    return joined({u"<table border='",
                   fields.border,
                   u"' width='",
                   fields.width,
                   u"' height='",
                   fields.height,
                   u"' cellspacing='",
                   fields.cellSpacing,
                   u"' cellpadding='",
                   fields.cellPadding,
                   u"' align='",
                   choice(fields.align),
                   u"' class='",
                   fields.className,
                   u"' bgcolor='",
                   personalColour(fields.colour),
                   u"' background='",
                   fields.image,
                   u"'>",
                   PageLineBreak,
                   u"<tr>"});
}

QString cellTag(const CellFields &fields)
{
    return joined({u"<td width='", fields.width, u"' height='", fields.height, u"' align='",
                   choice(fields.align), u"' valign='", choice(fields.valign), u"' class='",
                   fields.className, u"' bgcolor='", personalColour(fields.colour),
                   u"' background='", fields.image, u"'>", PageLineBreak});
}

} // namespace zendral
