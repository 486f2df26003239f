#pragma once

#include <QString>
#include <QStringList>

namespace zendral {

// A dictionary that checks single words. Words come and go as QString; turning them into
// whatever the dictionary reads is the implementation's business.
class SpellEngine
{
public:
    virtual ~SpellEngine() = default;

    // True when the dictionary knows the word.
    virtual bool check(const QString &word) = 0;
    // Likely corrections, best first; slow, so ask only for the word being shown.
    virtual QStringList suggest(const QString &word) = 0;
    // Makes the dictionary accept the word for as long as this engine lives.
    virtual void add(const QString &word) = 0;
};

} // namespace zendral
