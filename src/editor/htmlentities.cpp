#include "htmlentities.h"

namespace zendral {

namespace {

struct NamedEntity
{
    const char *name;
    char32_t character;
};

// The HTML 4 names a hand-written Spanish page is likely to carry: the Latin-1 range in full
// and the common punctuation beyond it.
constexpr NamedEntity NamedEntities[] = {
    {"quot", 34},    {"amp", 38},     {"lt", 60},       {"gt", 62},      {"nbsp", 160},
    {"iexcl", 161},  {"cent", 162},   {"pound", 163},   {"curren", 164}, {"yen", 165},
    {"brvbar", 166}, {"sect", 167},   {"uml", 168},     {"copy", 169},   {"ordf", 170},
    {"laquo", 171},  {"not", 172},    {"shy", 173},     {"reg", 174},    {"macr", 175},
    {"deg", 176},    {"plusmn", 177}, {"sup2", 178},    {"sup3", 179},   {"acute", 180},
    {"micro", 181},  {"para", 182},   {"middot", 183},  {"cedil", 184},  {"sup1", 185},
    {"ordm", 186},   {"raquo", 187},  {"frac14", 188},  {"frac12", 189}, {"frac34", 190},
    {"iquest", 191}, {"Agrave", 192}, {"Aacute", 193},  {"Acirc", 194},  {"Atilde", 195},
    {"Auml", 196},   {"Aring", 197},  {"AElig", 198},   {"Ccedil", 199}, {"Egrave", 200},
    {"Eacute", 201}, {"Ecirc", 202},  {"Euml", 203},    {"Igrave", 204}, {"Iacute", 205},
    {"Icirc", 206},  {"Iuml", 207},   {"ETH", 208},     {"Ntilde", 209}, {"Ograve", 210},
    {"Oacute", 211}, {"Ocirc", 212},  {"Otilde", 213},  {"Ouml", 214},   {"times", 215},
    {"Oslash", 216}, {"Ugrave", 217}, {"Uacute", 218},  {"Ucirc", 219},  {"Uuml", 220},
    {"Yacute", 221}, {"THORN", 222},  {"szlig", 223},   {"agrave", 224}, {"aacute", 225},
    {"acirc", 226},  {"atilde", 227}, {"auml", 228},    {"aring", 229},  {"aelig", 230},
    {"ccedil", 231}, {"egrave", 232}, {"eacute", 233},  {"ecirc", 234},  {"euml", 235},
    {"igrave", 236}, {"iacute", 237}, {"icirc", 238},   {"iuml", 239},   {"eth", 240},
    {"ntilde", 241}, {"ograve", 242}, {"oacute", 243},  {"ocirc", 244},  {"otilde", 245},
    {"ouml", 246},   {"divide", 247}, {"oslash", 248},  {"ugrave", 249}, {"uacute", 250},
    {"ucirc", 251},  {"uuml", 252},   {"yacute", 253},  {"thorn", 254},  {"yuml", 255},
    {"OElig", 338},  {"oelig", 339},  {"Scaron", 352},  {"scaron", 353}, {"Yuml", 376},
    {"ndash", 8211}, {"mdash", 8212}, {"lsquo", 8216},  {"rsquo", 8217}, {"ldquo", 8220},
    {"rdquo", 8221}, {"bull", 8226},  {"hellip", 8230}, {"euro", 8364},  {"trade", 8482},
    {"fnof", 402},   {"circ", 710},
};

bool validCharacter(qulonglong value)
{
    return value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

} // namespace

std::optional<char32_t> decodeEntity(QStringView body)
{
    if (body.size() > 1 && body.front() == u'#') {
        const bool hex = body.at(1) == u'x' || body.at(1) == u'X';
        const QStringView digits = body.mid(hex ? 2 : 1);
        // toULongLong accepts signs and blanks; an entity's digits are digits only.
        for (QChar c : digits) {
            const bool digit = c >= u'0' && c <= u'9';
            const bool letter = (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
            if (!digit && !(hex && letter))
                return std::nullopt;
        }
        bool ok = false;
        const qulonglong value = digits.toULongLong(&ok, hex ? 16 : 10);
        if (!ok || !validCharacter(value))
            return std::nullopt;
        return char32_t(value);
    }
    for (const NamedEntity &entity : NamedEntities)
        if (body == QLatin1String(entity.name))
            return entity.character;
    // Read but never written: older browsers show "&apos;" as it stands.
    if (body == u"apos")
        return U'\'';
    return std::nullopt;
}

QString entityFor(char32_t character)
{
    for (const NamedEntity &entity : NamedEntities)
        if (entity.character == character)
            return QStringLiteral("&%1;").arg(QLatin1String(entity.name));
    return QStringLiteral("&#%1;").arg(uint(character));
}

} // namespace zendral
