#pragma once

#include "colourchoice.h"

#include <QString>

// The fragments the tag dialogs write, built from the dialogs' field texts. A default-built
// field struct holds what an untouched dialog shows. Field texts go into the fragments as
// they stand: nothing is trimmed, checked or escaped; only a list still showing its prompt
// gives an empty value.

namespace zendral {

struct BodyFields
{
    ColourField background{designTexts::ColourPrompt};
    QString image;
    ColourField text{designTexts::ColourPrompt};
    ColourField link{designTexts::ColourPrompt};
    ColourField visitedLink{designTexts::ColourPrompt};
    ColourField activeLink{designTexts::ColourPrompt};
};

struct LinkFields
{
    QString url;
    QString target = designTexts::Prompt;
    QString urlClass;
    QString mail;
    QString subject;
    QString mailClass;
};

struct FontFields
{
    QString group = designTexts::FontGroupPrompt;
    QString customFace;
    QString size = designTexts::Prompt;
    ColourField colour{designTexts::ColourPrompt};
};

struct DivFields
{
    QString align = designTexts::Prompt;
    QString position = designTexts::Prompt;
    QString top;
    QString left;
    QString zIndex;
    QString height;
    QString width;
};

struct IframeFields
{
    QString name;
    QString id;
    QString file;
    QString scroll = designTexts::Prompt;
    QString hspace;
    QString vspace;
    QString border;
    QString marginHeight;
    QString marginWidth;
    QString width;
    QString height;
};

struct TableFields
{
    QString align = designTexts::Prompt;
    QString cellSpacing = designTexts::Zero;
    QString cellPadding = designTexts::Zero;
    QString border = designTexts::Zero;
    QString className;
    QString width;
    QString height;
    ColourField colour{designTexts::Prompt};
    QString image;
};

struct CellFields
{
    QString className;
    QString align = designTexts::Prompt;
    QString valign = designTexts::Prompt;
    QString width;
    QString height;
    ColourField colour{designTexts::Prompt};
    QString image;
};

// An opening body tag with all six attributes, then a line break.
QString bodyTag(const BodyFields &fields);

// A mail link when the address is empty (not even a blank), otherwise a file or page link
// (the list's "_Blanck" written as the "_blank" browsers know).
QString linkTag(const LinkFields &fields);

// An opening font tag with face, colour and size.
QString fontTag(const FontFields &fields);

// A positioned layer once a position is given, otherwise an aligned block.
QString divTag(const DivFields &fields);

// An inline frame with an inline layer of the same attributes for older browsers, both
// closed, then a line break. Attributes are named as browsers read them (width, marginwidth,
// scrolling), whatever the dialog's captions say.
QString iframeTag(const IframeFields &fields);

// An opening table tag and, on the next line, an opening row tag.
QString tableTag(const TableFields &fields);

// An opening cell tag, then a line break.
QString cellTag(const CellFields &fields);

} // namespace zendral
