#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace zendral {

// One installed Hunspell dictionary: a pair of .aff and .dic files sharing a name.
struct SpellDictionary
{
    // The file name without its extension, such as "es_ES".
    QString name;
    QString affixPath;
    QString wordsPath;

    // The language in its own words, such as "español (España)", with the name after it.
    QString displayName() const;
};

// The folders where the system keeps Hunspell dictionaries.
QStringList defaultDictionaryFolders();

// The dictionaries found in the folders, Spanish first (Spain's before the other countries'),
// then the rest by name. A name found in two folders counts once, from the first folder.
std::vector<SpellDictionary>
installedDictionaries(const QStringList &folders = defaultDictionaryFolders());

} // namespace zendral
