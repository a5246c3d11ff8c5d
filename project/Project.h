#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace ponderix {

inline constexpr int kOptionLimit = 26;
inline constexpr int kCriterionLimit = 300;
// The matrix after an addition may hold at most this many ratings.
inline constexpr int kRatingLimit = 1000;

inline constexpr int kImportanceMin = 1;
inline constexpr int kImportanceMax = 5;
inline constexpr int kImportanceOfNewCriterion = 3;
inline constexpr int kValueMin = 0;
inline constexpr int kValueMax = 10;
// A rating value of 5 is the neutral point; the user sees Value - 5.
inline constexpr int kNeutralValue = 5;

struct Option {
    int Index = 0;
    QString Name;
    int score = 0; // written by ComputeScores; meaningless before it ran
};

struct Criterion {
    int Index = 0;
    QString Name;
    int Importance = kImportanceOfNewCriterion;
};

struct Rating {
    int IndexOption = 0;
    int IndexCriteria = 0;
    QString Comment;
    int Value = kNeutralValue;
};

// Why an addition was refused; the first failing test wins (count before cells).
enum class AddRefusal { None, OptionLimit, CriterionLimit, CellLimit };

enum class MoveDirection { Backward, Forward }; // left/up, right/down

// The ratings a deletion took out, each with its place in the rating list,
// so that putting them back leaves the list exactly as it was.
struct TakenRatings {
    std::vector<std::size_t> positions; // ascending
    std::vector<Rating> ratings;
};

// What deleting an entry took out of the project: enough to put it back at
// its place with its ratings and comments, and nothing more.
struct TakenOption {
    Option option;
    TakenRatings ratings;
};

struct TakenCriterion {
    Criterion criterion;
    TakenRatings ratings;
};

// The one decision document: three ordered lists plus where it lives on disk.
// Invariants kept by every operation here (and by the reader for any file):
// an entry's Index equals its position, and every option/criterion pair has
// exactly one rating. Empty lists are valid everywhere.
class Project final {
public:
    const std::vector<Option>& options() const { return m_options; }
    const std::vector<Criterion>& criteria() const { return m_criteria; }
    const std::vector<Rating>& ratings() const { return m_ratings; }

    int optionCount() const { return static_cast<int>(m_options.size()); }
    int criterionCount() const { return static_cast<int>(m_criteria.size()); }
    int ratingCount() const { return static_cast<int>(m_ratings.size()); }

    void clear();

    // Raw appends, used by the reader and by the additions below. They keep
    // positions as indexes but do not create ratings.
    Option& appendOption(const QString& name);
    Criterion& appendCriterion(const QString& name, int importance);
    Rating& appendRating(int optionIndex, int criterionIndex, const QString& comment, int value);

    AddRefusal optionAdditionRefusal() const;
    AddRefusal criterionAdditionRefusal() const;
    // Append an entry with a neutral rating for every existing counterpart,
    // unless a limit refuses it; the project is then unchanged.
    AddRefusal addOption(const QString& name);
    AddRefusal addCriterion(const QString& name);

    void deleteOption(int index);
    void deleteCriterion(int index);
    // The same deletions, handing back what they took; empty for an index
    // out of range. restore...() puts such an entry back where it was: its
    // own index, its ratings at their old places in the list, the later
    // entries renumbered as before the deletion.
    std::optional<TakenOption> takeOption(int index);
    std::optional<TakenCriterion> takeCriterion(int index);
    void restoreOption(TakenOption taken);
    void restoreCriterion(TakenCriterion taken);
    // Exchange an entry's contents with its neighbour's; false at either end.
    bool moveOption(int index, MoveDirection direction);
    bool moveCriterion(int index, MoveDirection direction);

    void setOptionName(int index, const QString& name);
    void setCriterionName(int index, const QString& name);
    void setImportance(int index, int importance);                 // clamped to 1..5
    void setValue(int optionIndex, int criterionIndex, int value); // clamped to 0..10
    void setComment(int optionIndex, int criterionIndex, const QString& comment);
    void setScore(int optionIndex, int score);

    // nullptr when the pair has no rating (only possible before regularise()).
    const Rating* ratingOf(int optionIndex, int criterionIndex) const;

    // Makes a project read from someone else's file obey the invariants:
    // ratings naming no existing entry are dropped, a repeated pair replaces the
    // earlier rating's value and comment in place, and every pair still
    // unrated gets a neutral rating, criterion by criterion, options ascending.
    void regularise();

    const QString& path() const { return m_path; }
    void setPath(const QString& path) { m_path = path; }
    const QString& lastFolder() const { return m_lastFolder; }
    void setLastFolder(const QString& folder) { m_lastFolder = folder; }

    static std::int64_t cellCount(std::int64_t options, std::int64_t criteria) { return options * criteria; }

private:
    Rating* findRating(int optionIndex, int criterionIndex);
    void swapRatings(int optionA, int criterionA, int optionB, int criterionB);
    void invalidateLookup() { m_lookupValid = false; }
    void buildLookup() const;

    std::vector<Option> m_options;
    std::vector<Criterion> m_criteria;
    std::vector<Rating> m_ratings;
    QString m_path;
    QString m_lastFolder;
    // Rating position per (option, criterion), built on demand so that a
    // loaded project of a million ratings is not scanned for every look-up.
    mutable std::vector<int> m_lookup;
    mutable bool m_lookupValid = false;
};

int clampImportance(int importance);
int clampValue(int value);

} // namespace ponderix
