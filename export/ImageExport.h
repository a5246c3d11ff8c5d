#pragma once

#include <QString>

class QImage;

namespace ponderix {

class Dialogs;
struct Settings;

struct ImageExportResult {
    enum class Outcome { Cancelled, Written, Failed };
    Outcome outcome = Outcome::Cancelled;
    QString path; // the file as written or attempted; empty when cancelled
};

// Saves a page image as JPEG, GIF, PNG, BMP or TIFF, the format picked in the
// save dialog. The image folder and type in `settings` are corrected before
// the dialog opens and updated from the user's choice, and both stay changed
// whether or not the file is then written. An existing file is replaced only
// when the user says so; declining cancels. A failure is reported to the
// user here.
ImageExportResult exportImage(const QImage& page, Settings& settings, const QString& picturesFolder, Dialogs& dialogs);

} // namespace ponderix
