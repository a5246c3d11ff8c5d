#include "platform/Dialogs.h"

#include "base/TextTable.h"

#include <QFileInfo>

namespace ponderix {

bool mayReplace(Dialogs& dialogs, const QString& path)
{
    const QFileInfo existing(path);
    if (!existing.exists() || existing.isDir())
        return true;
    return dialogs.message(uiText(TextKey::TXT00090), uiText(TextKey::TXT00091), Dialogs::Icon::None,
                           Dialogs::Buttons::YesNo, Dialogs::Answer::No)
           == Dialogs::Answer::Yes;
}

} // namespace ponderix
