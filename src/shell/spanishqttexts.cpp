#include "spanishqttexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zendral {

bool installSpanishQtTexts(QCoreApplication &application)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool widgets = false;
    for (const QString &catalogue :
         {QStringLiteral("qtbase_es"), QStringLiteral("qtwebengine_es")}) {
        auto *translator = new QTranslator(&application);
        if (!translator->load(catalogue, folder)) {
            delete translator;
            continue;
        }
        QCoreApplication::installTranslator(translator);
        widgets = widgets || catalogue == u"qtbase_es";
    }
    return widgets;
}

} // namespace zendral
