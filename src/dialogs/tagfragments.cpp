#include "tagfragments.h"

#include "colourchoice.h"

#include <initializer_list>

namespace zendral {

namespace {

const QString LineBreak = QStringLiteral("\r\n");

QString joined(std::initializer_list<QStringView> parts)
{
    QString result;
    for (const QStringView part : parts)
        result += part;
    return result;
}

// Body and font write an untouched colour list's prompt as the colour.
QString customColourOrText(const ColourField &colour)
{
    return chosenColour(colour.listText, colour.customText, designTexts::CustomColour);
}

// Table and cell take an untouched colour list as no colour at all.
QString colourOrNothing(const ColourField &colour)
{
    const QString value =
        chosenColour(colour.listText, colour.customText, designTexts::PersonalColour);
    return value == designTexts::Prompt ? QString() : value;
}

} // namespace

QString bodyTag(const BodyFields &fields)
{
    return joined({u"<body bgcolor='", customColourOrText(fields.background), u"' background='",
                   fields.image, u"' text='", customColourOrText(fields.text), u"' alink='",
                   customColourOrText(fields.activeLink), u"' vlink='",
                   customColourOrText(fields.visitedLink), u"' link='",
                   customColourOrText(fields.link), u"'>", LineBreak});
}

QString linkTag(const LinkFields &fields)
{
    // A single blank is an address too: only a box with nothing in it means a mail link.
    if (fields.url.isEmpty())
        return joined({u"<a href='mailto:", fields.mail, u"?subject=", fields.subject, u"' class='",
                       fields.mailClass, u"'>"});
    return joined({u"<a href='", fields.url, u"' target='", fields.target, u"' class='",
                   fields.urlClass, u"'>"});
}

QString fontTag(const FontFields &fields)
{
    const QString face = fields.group == designTexts::CustomFont ? fields.customFace : fields.group;
    return joined({u"<font face='", face, u"' color='", customColourOrText(fields.colour),
                   u"' size='", fields.size, u"'>"});
}

QString divTag(const DivFields &fields)
{
    if (fields.position == designTexts::Prompt)
        return joined({u"<div align='", fields.align, u"'>"});
    return joined({u"<div style='position:", fields.position, u"; top:", fields.top, u"; left:",
                   fields.left, u"; z-index:", fields.zIndex, u"; height:", fields.height,
                   u"; width:", fields.width, u";'>"});
}

QString iframeTag(const IframeFields &fields)
{
    const QString attributes = joined({fields.name,         u"' id='",
                                       fields.id,           u"' src='",
                                       fields.file,         u"' noresize scroll='",
                                       fields.scroll,       u"' hspace='",
                                       fields.hspace,       u"' vspace='",
                                       fields.vspace,       u"' frameborder='",
                                       fields.border,       u"' marginheight='",
                                       fields.marginHeight, u"' marginwidht='",
                                       fields.marginWidth,  u"' widht='",
                                       fields.width,        u"' height='",
                                       fields.height,       u"'>"});
    return joined({u"<iframe name='", attributes, u"<ilayer name='", attributes,
                   u"</ilayer></iframe>", LineBreak});
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
                   fields.align,
                   u"' class='",
                   fields.className,
                   u"' bgcolor='",
                   colourOrNothing(fields.colour),
                   u"' background='",
                   fields.image,
                   u"'>",
                   LineBreak,
                   u"<tr>"});
}

QString cellTag(const CellFields &fields)
{
    return joined({u"<td width='", fields.width, u"' height='", fields.height, u"' align='",
                   fields.align, u"' valign='", fields.valign, u"' class='", fields.className,
                   u"' bgcolor='", colourOrNothing(fields.colour), u"' background='", fields.image,
                   u"'>", LineBreak});
}

} // namespace zendral
