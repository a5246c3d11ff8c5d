#include "windows/TextExportCommand.h"

#include "base/AtomicFile.h"
#include "base/SettingsFile.h"
#include "base/TextTable.h"
#include "evaluation/Scoring.h"
#include "export/TextExport.h"
#include "platform/Dialogs.h"
#include "platform/Folders.h"
#include "platform/WaitCursor.h"
#include "windows/WindowContext.h"

#include <QFileInfo>

namespace ponderix {

using namespace Qt::StringLiterals;

void exportText(const WindowContext& context)
{
    Settings& settings = context.settings;

    // Both layouts are text files; the pattern the user picks is the layout.
    const QString patterns =
        uiText(TextKey::TXT00125) + u" (*.txt)|*.txt|"_s + uiText(TextKey::TXT00126) + u" (*.txt)|*.txt"_s;
    const Dialogs::FileChoice choice =
        context.dialogs.saveFile(uiText(TextKey::TXT00120),
                                 dialogStartPath(settings.ExportDateiName, context.folders.documents), patterns,
                                 settings.ExportDateiTyp);
    if (choice.path.isEmpty())
        return;

    const QString path = withTextExtension(choice.path);
    // Remembered before anything can stop the export, so the next one offers
    // what the user chose even when this one wrote nothing.
    settings.ExportDateiName = path;
    settings.ExportDateiTyp = choice.patternIndex;

    const QFileInfo existing(path);
    if (existing.exists() && !existing.isDir()) {
        const auto answer = context.dialogs.message(uiText(TextKey::TXT00090), uiText(TextKey::TXT00091),
                                                    Dialogs::Icon::None, Dialogs::Buttons::YesNo, Dialogs::Answer::No);
        if (answer != Dialogs::Answer::Yes)
            return;
    }

    WriteResult written;
    {
        const WaitCursor wait;
        written = writeFileAtomically(path, textExportBytes(scoredCopy(context.project()), choice.patternIndex));
    }
    // A spreadsheet opened on a file that was never written would show the
    // last export's numbers as if they were today's: say so.
    if (!written)
        context.dialogs.message(uiText(TextKey::TXT00001), path + u"\r\n\r\n"_s + written.error, Dialogs::Icon::None);
}

} // namespace ponderix
