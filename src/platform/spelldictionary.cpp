#include "spelldictionary.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace zendral {

namespace {

// Spain's Spanish, then the other Spanish dictionaries, then everything else.
int languageRank(const QString &name)
{
    if (name == u"es_ES")
        return 0;
    if (name == u"es" || name.startsWith(QStringView(u"es_")) ||
        name.startsWith(QStringView(u"es-")))
        return 1;
    return 2;
}

} // namespace

QString SpellDictionary::displayName() const
{
    const QLocale locale(name);
    if (locale.language() == QLocale::C)
        return name;
    QString language = locale.nativeLanguageName();
    const QString territory = locale.nativeTerritoryName();
    // Some languages already name the country ("español de España").
    if (name.contains(u'_') && !territory.isEmpty() && !language.contains(territory))
        language += QStringLiteral(" (%1)").arg(territory);
    return QStringLiteral("%1 — %2").arg(language, name);
}

QStringList defaultDictionaryFolders()
{
    return {QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell"),
            QStringLiteral("/usr/share/myspell/dicts")};
}

std::vector<SpellDictionary> installedDictionaries(const QStringList &folders)
{
    std::vector<SpellDictionary> found;
    QSet<QString> seen;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        const QStringList words = dir.entryList({QStringLiteral("*.dic")}, QDir::Files, QDir::Name);
        for (const QString &fileName : words) {
            const QString name = QFileInfo(fileName).completeBaseName();
            const QString affix = dir.filePath(name + QStringLiteral(".aff"));
            // Hyphenation and thesaurus files also end in .dic; only a pair is a dictionary.
            if (seen.contains(name) || !QFileInfo(affix).isFile())
                continue;
            seen.insert(name);
            found.push_back({name, affix, dir.filePath(fileName)});
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const SpellDictionary &a, const SpellDictionary &b) {
                         const int rankA = languageRank(a.name);
                         const int rankB = languageRank(b.name);
                         if (rankA != rankB)
                             return rankA < rankB;
                         return a.name < b.name;
                     });
    return found;
}

} // namespace zendral
