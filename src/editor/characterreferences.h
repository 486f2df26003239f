#pragma once

#include <span>

namespace zendral {

// A named character reference ("&aacute;") and the characters it stands for.
struct CharacterReference
{
    const char *name;     // between the "&" and the ";"
    const char16_t *text; // one character, or two for a few combined forms
};

// The named character references a browser knows, ordered by name case aside.
std::span<const CharacterReference> characterReferences();

} // namespace zendral
