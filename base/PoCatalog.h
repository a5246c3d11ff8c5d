#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace ponderix {

// One message of a gettext PO file. Obsolete ("#~") messages are dropped
// while reading; plural forms are not used by the program and only the
// first form is kept.
struct PoEntry {
    QString context;     // msgctxt, empty when there is none
    QString source;      // msgid, the English text
    QString translation; // msgstr
    bool fuzzy = false;  // "#, fuzzy": a guess the translator has not confirmed
    bool qtFormat = false;
    int line = 0; // where its msgid stands, for messages about it
};

struct PoCatalog {
    std::vector<PoEntry> entries; // in file order, the header (empty msgid) left out
    QString error;                // empty when the whole text was read
    int errorLine = 0;

    bool ok() const { return error.isEmpty(); }
};

// Reads the text of a PO file (UTF-8): multi-line strings, the C escapes
// gettext writes, comments and flags. A damaged file gives its first error
// with the line number, and the entries read before it.
PoCatalog readPoCatalog(QByteArrayView text);

} // namespace ponderix
