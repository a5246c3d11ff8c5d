#pragma once

#include <QString>

namespace ponderix {

// Records where the program is installed in the user's native settings
// store, under the organisation/application path of `subkey`
// ("Ponderix/Ponderix"). Failures are ignored: nothing depends on it.
void writeInstallFolder(const QString& subkey, const QString& programFolder);
QString readInstallFolder(const QString& subkey);

} // namespace ponderix
