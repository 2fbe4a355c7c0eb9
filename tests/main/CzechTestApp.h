#pragma once
// The application of the window tests: Qt's own texts in Czech, as in the game.
#include "QtTestApp.h"
#include "main/CzechQt.h"

namespace pabuko::testing {

inline QApplication& CzechTestApp() {
    static QApplication& app = []() -> QApplication& {
        QApplication& a = TestApp();
        InstallCzechQtTexts(a);
        return a;
    }();
    return app;
}

// Registered by each window test file, so that any one of them runs on its own.
struct CzechTestAppEnvironment : ::testing::Environment {
    void SetUp() override { CzechTestApp(); }
};

}  // namespace pabuko::testing
