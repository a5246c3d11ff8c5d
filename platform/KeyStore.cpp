#include "platform/KeyStore.h"

#include <QSettings>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

QSettings storeFor(const QString& subkey)
{
    const qsizetype slash = subkey.indexOf(u'/');
    const QString organisation = slash < 0 ? subkey : subkey.left(slash);
    const QString application = slash < 0 ? QString() : subkey.mid(slash + 1);
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
}

} // namespace

void writeInstallFolder(const QString& subkey, const QString& programFolder)
{
    QSettings store = storeFor(subkey);
    store.setValue(u"InstallDir"_s, programFolder);
    store.sync();
}

QString readInstallFolder(const QString& subkey)
{
    return storeFor(subkey).value(u"InstallDir"_s).toString();
}

} // namespace ponderix
