// The desktop program with scripted dialogs, for the recovery tests that need
// a real process to kill. Its folders come from the environment the test sets.
//
//   recovery_test_program edit <project>   opens the project, renames option A
//       to "Renamed", sets rating B:2 to +4, prints "edited" and runs until killed.
//   recovery_test_program start yes|no     starts, answering the recovery
//       question (if asked) as given, prints what it shows, then ends through
//       the quit question (answered No).
#include "app/Application.h"
#include "editor/MatrixCells.h"
#include "editor/MatrixView.h"
#include "tests/ScriptedDialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QSlider>

#include <cstdio>
#include <cstring>

using namespace ponderix;

namespace {

void print(const QString& line)
{
    std::puts(line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication qtApplication(argc, argv);
    if (argc != 3)
        return 2;
    const bool editing = std::strcmp(argv[1], "edit") == 0;
    test::ScriptedDialogs dialogs;
    if (!editing)
        dialogs.answers.push_back(std::strcmp(argv[2], "yes") == 0 ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    const QStringList arguments = editing ? QStringList{QString::fromLocal8Bit(argv[2])} : QStringList{};
    Application application({arguments, &dialogs, std::nullopt});
    if (application.start() != Application::Start::Running)
        return 3;

    if (editing) {
        application.matrixView().optionCell(0)->nameField()->setText(QStringLiteral("Renamed"));
        application.matrixView().ratingCell(1, 1)->valueSlider()->setValue(9);
        print(QStringLiteral("edited"));
        return QApplication::exec();
    }

    for (const test::ScriptedDialogs::Asked& asked : dialogs.messages)
        print(QStringLiteral("asked: ")
              + QString(asked.text).replace(QStringLiteral("\r\n"), QStringLiteral(" "))); // one line each
    const Project& project = application.project();
    print(QStringLiteral("path: ") + project.path());
    print(QStringLiteral("banner: ") + application.matrixView().banner());
    QStringList names;
    for (const Option& option : project.options())
        names << option.Name;
    print(QStringLiteral("options: ") + names.join(u','));
    const Rating* rating = project.ratingOf(1, 1);
    print(QStringLiteral("B:2: ") + QString::number(rating ? rating->Value : -1));
    dialogs.answers = {Dialogs::Answer::No};
    if (!application.confirmQuit())
        return 4;
    application.shutDown();
    return 0;
}
