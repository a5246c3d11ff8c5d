#pragma once

#include "base/AtomicFile.h"

#include <QByteArray>
#include <QString>

namespace ponderix {

// The widest extra width of the criterion column that the matrix layout
// accepts; wider stored values are taken as this.
inline constexpr int kCriteriaAddWidthMax = 277;

// The eleven per-user values remembered between runs. Member names are the
// keys of the settings file.
struct Settings {
    QString LastDirectory;
    QString LastProject;
    int WindowPosLeft = -1;
    int WindowPosTop = -1;
    int WindowPosWidth = -1;
    int WindowPosHeight = -1;
    QString ImagePath;
    QString ImageType;
    QString ExportDateiName;
    int ExportDateiTyp = 0;
    int CriteriaAddWidth = 0;

    // The decision record written last, for its save dialog: kept while the
    // program runs, never in the settings file, whose eleven keys other
    // versions of the program read and write too.
    QString RecordPath;

    bool operator==(const Settings&) const = default;
};

// The values of a first start. `documentsFolder` ends in a separator.
Settings defaultSettings(const QString& documentsFolder);

// Missing or unreadable file, or missing keys: the defaults, silently.
Settings readSettingsFile(const QString& filePath, const QString& documentsFolder);
Settings parseSettings(const QByteArray& bytes, const QString& documentsFolder);

QByteArray settingsFileBytes(const Settings& settings);
WriteResult writeSettingsFile(const QString& filePath, const Settings& settings);

} // namespace ponderix
