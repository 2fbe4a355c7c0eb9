#include "main/CzechQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pabuko {

bool InstallCzechQtTexts(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_cs"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace pabuko
