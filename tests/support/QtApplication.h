// The one Qt application object of a widget test binary, made on first use
// with the offscreen platform unless another is chosen.
#pragma once

#include <QApplication>

namespace testsupport {

inline QApplication& Application() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rhythmora-test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own statics (the input-device registry
    // among them) may already be gone when the application's children go.
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

} // namespace testsupport
