#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace ponderix {

// The built-in demo project, exactly as stored (CR LF after every line).
QByteArrayView demoProjectBytes();

// The demo project with its option and criterion names and its comments in
// the chosen language, as a project file; the stored bytes themselves when
// the language has no translation of them.
QByteArray demoProjectBytesInChosenLanguage();

} // namespace ponderix
