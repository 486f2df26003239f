#pragma once

#include <QString>

namespace zendral {

// Receives the characters typed into the surface before the surface inserts them.
class TypedCharacterHandler
{
public:
    virtual ~TypedCharacterHandler() = default;

    // One typed character (a control code such as 13 for Enter or 26 for Ctrl+Z, or one
    // printable code point). Returns true when the handler took care of it, so that the
    // surface inserts nothing itself.
    virtual bool characterTyped(const QString &character) = 0;
    // The surface is about to change the text itself (a key, a paste, a drop), taking away
    // characters from..from + length at most; every change until editEnded is one step.
    virtual void editStarting(qint64 /*from*/, qint64 /*length*/) {}
    virtual void editEnded() {}
};

} // namespace zendral
