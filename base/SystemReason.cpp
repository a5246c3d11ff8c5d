#include "base/SystemReason.h"

#include "base/TextTable.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace ponderix {

namespace {

struct KnownReason {
    int error;
    TextKey key;
};

// What a user meets with files and folders; the rest is rare enough that the
// C library's own words do.
constexpr KnownReason kKnownReasons[] = {
    {ENOENT, TextKey::TXT00920},       {EACCES, TextKey::TXT00921},    {EPERM, TextKey::TXT00922},
    {ENOSPC, TextKey::TXT00923},       {EDQUOT, TextKey::TXT00924},    {EROFS, TextKey::TXT00925},
    {EISDIR, TextKey::TXT00926},       {ENOTDIR, TextKey::TXT00927},   {EEXIST, TextKey::TXT00928},
    {ENAMETOOLONG, TextKey::TXT00929}, {EIO, TextKey::TXT00930},       {EMFILE, TextKey::TXT00931},
    {ENFILE, TextKey::TXT00932},       {ENOMEM, TextKey::TXT00933},    {ELOOP, TextKey::TXT00934},
    {EBUSY, TextKey::TXT00935},        {ETXTBSY, TextKey::TXT00936},   {EXDEV, TextKey::TXT00937},
    {EFBIG, TextKey::TXT00938},        {ENOTEMPTY, TextKey::TXT00939}, {EINVAL, TextKey::TXT00940},
};

QString libraryText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString systemReason(int error)
{
    for (const KnownReason& known : kKnownReasons) {
        if (known.error == error)
            return uiText(known.key);
    }
    return libraryText(error);
}

QString translatedSystemReason(const QString& reason)
{
    // Qt words a failed file call as qt_error_string(errno) does: its own
    // copies of the C library's English texts for a few values, strerror in
    // the locale of the process for the rest. So a reason that is one of
    // those texts for a known value was caused by that value, and nothing
    // is lost by giving it in the user's language.
    for (const KnownReason& known : kKnownReasons) {
        if (reason == englishText(known.key) || reason == libraryText(known.error))
            return uiText(known.key);
    }
    return reason;
}

QString notAFileReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return systemReason(EISDIR);
    if (S_ISFIFO(mode))
        return uiText(TextKey::TXT00941);
    if (S_ISSOCK(mode))
        return uiText(TextKey::TXT00942);
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return uiText(TextKey::TXT00943);
    return uiText(TextKey::TXT00944);
}

} // namespace ponderix
