#include "app/Application.h"
#include "app/CrashReport.h"
#include "app/TextTable.h"
#include "platform/Display.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    // A crashed copy of the program started this one to show its report.
    if (ponderix::isCrashReportRequest(argc, argv))
        return ponderix::runCrashReporter(argc, argv);

    using namespace ponderix;
    const TextTable& texts = TextTable::builtIn();
    if (!desktopAvailable()) {
        const QByteArray message = (texts.text(u"TXT00001") + u": " + texts.text(u"TXT00002") + u'\n').toUtf8();
        std::fputs(message.constData(), stderr);
        return 0;
    }

    QApplication qtApplication(argc, argv);
    qtApplication.setApplicationName(texts.text(u"Program_Name"));
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
