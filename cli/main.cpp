#include "cli/Commands.h"

#include <QGuiApplication>

namespace {

QtMessageHandler previousHandler = nullptr;

// Starting the platform notes harmless things such as a missing runtime
// folder; a script reading our standard error must see only our messages.
void keepSeriousMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if ((type == QtCriticalMsg || type == QtFatalMsg) && previousHandler)
        previousHandler(type, context, message);
}

} // namespace

int main(int argc, char* argv[])
{
    // Pages are drawn with text, which needs a GUI application; a headless
    // tool must not depend on a display, so unless the caller chose a
    // platform it draws off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(keepSeriousMessages);
    QGuiApplication application(argc, argv);
    qInstallMessageHandler(previousHandler);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return ponderix::cli::run(arguments);
}
