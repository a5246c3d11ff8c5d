#pragma once

#include "project/Project.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <variant>

namespace ponderix {

// Each list is bounded on its own: a few kilobytes of empty entries must not
// ask for millions of filled-in ratings, nor a few megabytes for millions of
// options with no criteria to multiply them by. A thousand of each still opens
// any matrix a script generates for the command line (a million ratings);
// the desktop program works with at most 26 options and 300 criteria.
inline constexpr int kReadableOptionLimit = 1000;
inline constexpr int kReadableCriterionLimit = 1000;
// The lists above keep the cells to a million, but a file may still list a
// rating many times over; past this many it is refused before it costs memory.
inline constexpr std::int64_t kReadableCellLimit = 10'000'000;
// Missing ratings are filled in as neutral, but only this many: beyond it a
// file must list its ratings, so that the work of reading, scoring and
// saving grows with the file's own size. Nine kilobytes of empty entries
// would otherwise make a million ratings and a 70 MB save. A hand-made
// template of the largest matrix the desktop program holds has 7,800 cells.
inline constexpr std::int64_t kFilledInRatingLimit = 100'000;

struct ReadError {
    enum class Kind {
        CannotRead, // missing, unreadable, or a folder
        Syntax,     // not well-formed XML: description, line and column say where
        NoRoot,
        WrongRoot,       // well-formed, but not a project of ours
        TooLarge,        // more than kReadableCellLimit ratings listed
        TooManyOptions,  // more than kReadableOptionLimit
        TooManyCriteria, // more than kReadableCriterionLimit
        TooManyMissing,  // more than kFilledInRatingLimit ratings left out
    };

    Kind kind = Kind::CannotRead;
    QString description; // the parser's or the system's wording (why a path cannot be read)
    int line = 0;
    int column = 0;
};

class ReadResult final {
public:
    ReadResult(Project project) : m_outcome(std::move(project)) { }
    ReadResult(ReadError error) : m_outcome(std::move(error)) { }

    bool ok() const { return std::holds_alternative<Project>(m_outcome); }
    Project& project() { return std::get<Project>(m_outcome); }
    const ReadError& error() const { return std::get<ReadError>(m_outcome); }

private:
    std::variant<Project, ReadError> m_outcome;
};

// Reads a project into a fresh Project, regularised so that every later reader
// may rely on one rating per pair. The caller's current project is never
// touched here: it is replaced only when the result is ok.
ReadResult readProjectFile(const QString& path);
ReadResult readProjectBytes(QByteArrayView bytes);

} // namespace ponderix
