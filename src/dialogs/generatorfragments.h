#pragma once

#include <QString>

namespace zendral {

// What the pop-up window dialog holds at accept time, every field as typed or picked.
struct PopupFields
{
    QString file;
    QString windowName;
    QString toolbar;
    QString status;
    QString scrollbars;
    QString menubar;
    QString personalbar;
    QString resizable;
    QString directories;
    QString width;
    QString height;
    QString openingMethod;
};

// What the meta tags dialog holds when the block is generated.
struct MetaTagsFields
{
    QString area;
    QString audience;
    QString author;
    QString charset;
    QString description;
    QString keywords;
    QString language;
    QString email;
    QString revisitDays;
};

// What the database connection dialog holds at accept time.
struct DatabaseFields
{
    QString dataSourceName;
    QString databasePath;
};

// The opening methods of the pop-up window, as listed in its combo box.
inline const QString PopupOnLoad = QStringLiteral("Al inicio");
inline const QString PopupByLink = QStringLiteral("Por enlace");

// The link that opens the window when "Por enlace" is chosen, otherwise the script block
// with a popup() function meant to run when the page loads. Fields go in unchanged, but a
// list still at its prompt gives an empty value.
QString popupFragment(const PopupFields &fields);

// The ten META lines, CR LF between them and none after the last; a list still at its
// prompt gives an empty value.
QString metaTagsBlock(const MetaTagsFields &fields);

// Server script opening a connection: through the Access file when a path is given (even a
// blank one), through the named data source otherwise.
QString databaseFragment(const DatabaseFields &fields);

} // namespace zendral
