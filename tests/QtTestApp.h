#pragma once
// A test program's one QApplication, made on first use by whichever test needs it first.
#include <QApplication>

namespace pabuko::testing {

inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "pabuko_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: windows a failed test leaves behind must not outlive it.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace pabuko::testing
