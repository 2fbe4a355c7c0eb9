#pragma once
// Qt's own texts (the standard buttons "Ano", "Ne", "OK", "Zrušit", the line edit's
// menu) in Czech, from Qt's translation installed with the system.
class QCoreApplication;

namespace pabuko {

// False when the translation is not installed: Qt then speaks English, nothing fails.
bool InstallCzechQtTexts(QCoreApplication& app);

}  // namespace pabuko
