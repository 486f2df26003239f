#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace zendral {

// The character an entity stands for, given what lies between "&" and ";" ("aacute",
// "#225", "#xE1"); nothing for a name HTML does not define or a number out of range.
std::optional<char32_t> decodeEntity(QStringView body);

// The entity that writes the character: its HTML name where it has one ("&aacute;"),
// otherwise its decimal number ("&#7869;").
QString entityFor(char32_t character);

} // namespace zendral
