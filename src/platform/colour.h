#pragma once

#include <QColor>
#include <QtGlobal>

namespace zendral {

// A colour as the document model stores it: 24 bits in blue-green-red order (0xBBGGRR).
using Colour = quint32;

namespace colours {
constexpr Colour Black = 0x000000;
constexpr Colour Blue = 0xFF0000;
constexpr Colour DarkGreen = 0x008000;
constexpr Colour Red = 0x0000FF;
constexpr Colour Purple = 0x800080;
} // namespace colours

// Converts a blue-green-red value into the QColor that paints it.
inline QColor toQColor(Colour bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// Converts a painted colour back into its blue-green-red value.
inline Colour fromQColor(const QColor &colour)
{
    return Colour(colour.red()) | (Colour(colour.green()) << 8) | (Colour(colour.blue()) << 16);
}

} // namespace zendral
