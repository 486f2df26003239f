#pragma once

#include <QString>

namespace zendral::weblinks {

// The product's site: the splash, the about box, the help notice (F2) and the GENERATOR line
// of every META block name it.
inline const QString ProgramPage = QStringLiteral("https://zendral.example.org/");
// The site of the people who make the program (F3).
inline const QString AuthorPage = QStringLiteral("https://equipo-zendral.example.org/");
// Where the about box tells the user to write.
inline const QString Email = QStringLiteral("equipo@zendral.example.org");

} // namespace zendral::weblinks
