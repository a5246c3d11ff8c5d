#include "app/Application.h"
#include "app/CrashReport.h"
#include "base/Language.h"
#include "base/TextTable.h"
#include "platform/gui/Display.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Qt answers a display it cannot reach with a fatal message and abort(). Only
// while the application object connects, that fatal message means there is no
// desktop: the user gets the same line as when none was found beforehand, and
// the program ends normally. Qt's other messages in that time are held back,
// since a failed connection explains itself.
QByteArray g_noDesktopLine;
QStringList g_heldBackMessages;
QtMessageHandler g_outerHandler = nullptr;

// Ends the program at once, past Qt's teardown of a platform that never
// worked.
[[noreturn]] void endWithoutDesktop()
{
    std::fputs(g_noDesktopLine.constData(), stderr);
    std::fflush(stderr);
    _exit(0);
}

void whileConnecting(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg)
        endWithoutDesktop();
    g_heldBackMessages << qFormatLogMessage(type, context, text);
}

void beginConnecting(const QByteArray& noDesktopLine)
{
    g_noDesktopLine = noDesktopLine;
    g_outerHandler = qInstallMessageHandler(whileConnecting);
}

// False when the platform came up without a single screen to show on, as
// linuxfb does without a framebuffer: no desktop either, and its messages
// about the missing device are dropped like those of a failed connection.
bool endConnecting()
{
    qInstallMessageHandler(g_outerHandler);
    const bool connected = !QGuiApplication::screens().isEmpty();
    if (connected) {
        for (const QString& message : std::as_const(g_heldBackMessages))
            std::fputs((message + u'\n').toLocal8Bit().constData(), stderr);
    }
    g_heldBackMessages.clear();
    return connected;
}

QString usageLine()
{
    return u"Usage: ponderix [--language "_s + ponderix::availableLanguages().join(u'|') + u"] [FILE.pnx]\n"_s;
}

// Chosen before anything is shown, from --language or else the desktop's
// locale. False after a wrong --language, which has been reported.
bool chooseLanguageFrom(QStringList& arguments)
{
    using namespace ponderix;
    const LanguageOption option = takeLanguageOption(arguments);
    if (!option.problem.isEmpty()) {
        const QString message = u"ponderix: "_s + option.problem + u'\n' + usageLine();
        std::fputs(message.toLocal8Bit().constData(), stderr);
        return false;
    }
    chooseLanguageOfThisRun(option);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // A crashed copy of the program started this one to show its report.
    if (ponderix::isCrashReportRequest(argc, argv)) {
        // In the language of the desktop, whatever the crashed copy was given.
        ponderix::chooseLanguageOfThisRun({});
        return ponderix::runCrashReporter(argc, argv);
    }

    using namespace ponderix;
    QStringList earlyArguments;
    for (int i = 1; i < argc; ++i)
        earlyArguments << QString::fromLocal8Bit(argv[i]);
    if (!chooseLanguageFrom(earlyArguments))
        return 2;
    const QString option = earlyArguments.size() == 1 ? earlyArguments.front() : QString();
    if (option == u"--version") {
        std::puts((uiText(TextKey::Program_Name) + u' ' + uiText(TextKey::Version_Name)).toUtf8().constData());
        return 0;
    }
    if (option == u"--help" || option == u"-h") {
        const QString help = usageLine() + uiText(TextKey::TXT00883);
        std::puts(help.toLocal8Bit().constData());
        return 0;
    }
    const QByteArray noDesktopLine = (uiText(TextKey::TXT00001) + u": " + uiText(TextKey::TXT00002) + u'\n').toUtf8();
    if (!desktopAvailable()) {
        std::fputs(noDesktopLine.constData(), stderr);
        return 0;
    }

    beginConnecting(noDesktopLine);
    QApplication qtApplication(argc, argv);
    if (!endConnecting())
        endWithoutDesktop();
    qtApplication.setApplicationName(uiText(TextKey::Program_Name));
    // Qt's own texts, such as the buttons of a message box, come from the
    // translations Qt installs; where they are missing those stay English.
    QTranslator qtTexts;
    if (chosenLanguage() != u"en"
        && qtTexts.load(QLocale(chosenLanguage()), u"qtbase"_s, u"_"_s,
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
    // Lets the desktop match the windows to the installed launcher and icon.
    qtApplication.setDesktopFileName(QStringLiteral("ponderix"));
    // The program ends through the quit question, not when a window closes.
    qtApplication.setQuitOnLastWindowClosed(false);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    takeLanguageOption(arguments);
    Application ponderix({arguments, nullptr, std::nullopt});
    if (ponderix.start() == Application::Start::SecondInstance)
        return 0;
    QApplication::exec();
    ponderix.shutDown();
    return 0;
}
