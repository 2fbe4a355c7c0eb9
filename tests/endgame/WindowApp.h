#pragma once
// One QApplication for the window tests of this folder, made before the first window.
#include <QApplication>

namespace pabuko::testing {

inline QApplication& WindowApp() {
    static int argc = 1;
    static char name[] = "endgame_window_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: torn down among the statics at exit it crashes in Qt.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace pabuko::testing
