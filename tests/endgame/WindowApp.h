#pragma once
// One QApplication for the window tests of this folder, made before the first window.
#include <QApplication>

namespace pabuko::testing {

inline QApplication& WindowApp() {
    static int argc = 1;
    static char name[] = "endgame_window_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

}  // namespace pabuko::testing
