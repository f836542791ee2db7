#include "page_host_qt/qt_application.h"

#include <cstdlib>

namespace vestrak {

std::unique_ptr<QApplication> startQtApplication(int& argc, char** argv)
{
    const bool displayNamed = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!displayNamed && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

void silenceQtDiagnostics()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

} // namespace vestrak
