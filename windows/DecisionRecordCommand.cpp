#include "windows/DecisionRecordCommand.h"

#include "base/SettingsFile.h"
#include "base/TextTable.h"
#include "evaluation/Scoring.h"
#include "export/DecisionRecord.h"
#include "platform/Dialogs.h"
#include "platform/Folders.h"
#include "project/Project.h"
#include "windows/WindowContext.h"

#include <QDateTime>
#include <QFileInfo>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// In the order of the dialog's patterns.
constexpr QStringView kExtensions[] = {u"html", u"pdf"};

// A name typed with .html, .htm or .pdf keeps it, whatever pattern is
// selected; any other name gets the selected pattern's extension.
QString recordPath(const Dialogs::FileChoice& choice)
{
    if (recordFormatOf(choice.path))
        return choice.path;
    const bool pdf = choice.patternIndex == 1;
    return choice.path + u'.' + kExtensions[pdf ? 1 : 0];
}

} // namespace

void exportDecisionRecord(const WindowContext& context)
{
    const Project& project = context.project();
    const QString patterns =
        uiText(TextKey::TXT00903) + u" (*.html)|*.html|"_s + uiText(TextKey::TXT00904) + u" (*.pdf)|*.pdf"_s;
    const QString fileName = QFileInfo(project.path()).fileName();
    const QString name = fileName.isEmpty() ? context.banner() : QFileInfo(fileName).completeBaseName();
    // The project's name, in the folder the last record went to.
    const QString& lastRecord = context.settings.RecordPath;
    const QString folder =
        lastRecord.isEmpty() ? context.folders.documents : QFileInfo(lastRecord).absolutePath() + u'/';
    const Dialogs::FileChoice choice =
        context.dialogs.saveFile(uiText(TextKey::TXT00901),
                                 dialogStartPath(folder + name + u".html"_s, context.folders.documents), patterns, 0);
    if (choice.path.isEmpty())
        return;
    const QString path = recordPath(choice);
    // As the text export: the folder chosen is offered next time even when
    // this record is then not written.
    context.settings.RecordPath = path;

    if (!mayReplace(context.dialogs, path))
        return;

    // The worker thread gets a copy of its own: the document may change
    // while the record is written.
    const Project scored = scoredCopy(project);
    const RecordSource source{scored,         context.banner(),         fileName, QDateTime::currentDateTime(),
                              context.charts, context.folders.temporary};
    RecordOutcome outcome;
    context.dialogs.runWithProgress(uiText(TextKey::TXT00901), uiText(TextKey::TXT00914), uiText(TextKey::TXT00915),
                                    [&](const Dialogs::ProgressReport& report) {
                                        outcome = writeRecordFile(path, source, report);
                                    });
    if (outcome.status == RecordOutcome::Status::Failed) {
        context.dialogs.message(uiText(TextKey::TXT00001),
                                uiText(TextKey::TXT00913) + u"\r\n\r\n"_s + path + u"\r\n"_s + outcome.error,
                                Dialogs::Icon::None);
    }
}

} // namespace ponderix
