#include "base/SystemReason.h"

#include "base/Language.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <locale.h>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

// The C library's own English, whatever locale the test runs in.
QString cLibraryEnglish(int error)
{
    const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const QString text = QString::fromUtf8(strerror_l(error, c));
    freelocale(c);
    return text;
}

constexpr int kFileErrors[] = {ENOENT,  EACCES, EPERM,        ENOSPC, EDQUOT, EROFS,     EISDIR,
                               ENOTDIR, EEXIST, ENAMETOOLONG, EIO,    EMFILE, ENFILE,    ENOMEM,
                               ELOOP,   EBUSY,  ETXTBSY,      EXDEV,  EFBIG,  ENOTEMPTY, EINVAL};

} // namespace

TEST(SystemReason, SpeaksTheChosenLanguageAndTheCLibrarysEnglish)
{
    for (int error : kFileErrors)
        EXPECT_EQ(systemReason(error), cLibraryEnglish(error)) << error;

    QTemporaryDir folder;
    QFile missing(folder.filePath(u"missing.pnx"_s));
    ASSERT_FALSE(missing.open(QIODevice::ReadOnly));
    ASSERT_TRUE(chooseLanguage(u"de"_s));
    // A case with an error number asks for its reason, one without one
    // hands over a reason Qt gave as text.
    struct Case {
        int error;
        QString text;
        QString german;
    };
    const Case cases[] = {
        {EACCES, {}, u"Keine Berechtigung"_s},
        {ENOTEMPTY, {}, u"Der Ordner ist nicht leer"_s},
        {EHOSTUNREACH, {}, QString::fromLocal8Bit(std::strerror(EHOSTUNREACH))},
        {0, missing.errorString(), u"Datei oder Ordner nicht gefunden"_s},
        {0, u"Is a directory"_s, u"Ist ein Ordner"_s},
        {0, u"Unknown error"_s, u"Unknown error"_s},
        {0, u"Permission denied by the printer"_s, u"Permission denied by the printer"_s},
    };
    for (const Case& c : cases) {
        const QString reason = c.error != 0 ? systemReason(c.error) : translatedSystemReason(c.text);
        EXPECT_EQ(reason, c.german) << c.error << ' ' << c.text.toStdString();
    }
    // Each one has a German text of its own, reached both ways.
    for (int error : kFileErrors) {
        EXPECT_NE(systemReason(error), cLibraryEnglish(error)) << error;
        EXPECT_EQ(translatedSystemReason(cLibraryEnglish(error)), systemReason(error)) << error;
    }
    // Qt hands over the C library's words in the language of the process,
    // here French where the C library has it.
    const QByteArray processLocale = setlocale(LC_ALL, nullptr);
    qputenv("LANGUAGE", "fr");
    setlocale(LC_ALL, "C.UTF-8");
    const QString french = QString::fromLocal8Bit(std::strerror(EACCES));
    EXPECT_TRUE(french == cLibraryEnglish(EACCES) || translatedSystemReason(french) == u"Keine Berechtigung"_s);
    qunsetenv("LANGUAGE");
    setlocale(LC_ALL, processLocale.constData());
    chooseLanguage(u"en"_s);
}
