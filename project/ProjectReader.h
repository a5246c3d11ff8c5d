#pragma once

#include "project/Project.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <variant>

namespace ponderix {

// A project with more cells than this is refused: filling in its missing
// ratings could exhaust memory, and nobody weighs ten million cells by hand.
inline constexpr std::int64_t kReadableCellLimit = 10'000'000;

struct ReadError {
    enum class Kind {
        CannotRead, // missing, unreadable, or a folder
        Syntax,     // not well-formed XML: description, line and column say where
        NoRoot,
        WrongRoot,  // well-formed, but not a project of ours
        TooLarge,   // more than kReadableCellLimit cells or ratings
    };

    Kind kind = Kind::CannotRead;
    QString description; // the parser's or the system's wording
    int line = 0;
    int column = 0;
};

class ReadResult final {
public:
    ReadResult(Project project) : m_outcome(std::move(project)) {}
    ReadResult(ReadError error) : m_outcome(std::move(error)) {}

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
