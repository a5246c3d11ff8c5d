#include "app/Application.h"
#include "app/CrashReport.h"
#include "base/TextTable.h"
#include "platform/Display.h"

#include <QApplication>

#include <cstdio>
#include <string_view>

int main(int argc, char* argv[])
{
    // A crashed copy of the program started this one to show its report.
    if (ponderix::isCrashReportRequest(argc, argv))
        return ponderix::runCrashReporter(argc, argv);

    using namespace ponderix;
    const std::string_view option = argc == 2 ? std::string_view(argv[1]) : std::string_view();
    if (option == "--version") {
        std::puts((uiText(TextKey::Program_Name) + u' ' + uiText(TextKey::Version_Name)).toUtf8().constData());
        return 0;
    }
    if (option == "--help" || option == "-h") {
        std::puts("Usage: ponderix [FILE.pnx]\n"
                  "Opens FILE.pnx (an absolute path), else the last project. See ponderix(1).");
        return 0;
    }
    if (!desktopAvailable()) {
        const QByteArray message = (uiText(TextKey::TXT00001) + u": " + uiText(TextKey::TXT00002) + u'\n').toUtf8();
        std::fputs(message.constData(), stderr);
        return 0;
    }

    QApplication qtApplication(argc, argv);
    qtApplication.setApplicationName(uiText(TextKey::Program_Name));
    // Lets the desktop match the windows to the installed launcher and icon.
    qtApplication.setDesktopFileName(QStringLiteral("ponderix"));
    // The program ends through the quit question, not when a window closes.
    qtApplication.setQuitOnLastWindowClosed(false);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    Application ponderix({arguments, nullptr, std::nullopt});
    if (ponderix.start() == Application::Start::SecondInstance)
        return 0;
    QApplication::exec();
    ponderix.shutDown();
    return 0;
}
