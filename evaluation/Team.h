#pragma once

// Several people's ratings of one decision, combined. Each member rates the
// same options under the same criteria in their own copy of the project
// (names match after trimming blanks; the order may differ); the first
// member's file gives the team its order. Everything is worked out from the
// members' values with the program's own scoring; the projects are only read.

#include "project/Project.h"

#include <QString>

#include <optional>
#include <vector>

namespace ponderix {

inline constexpr int kTeamMin = 2;
inline constexpr int kTeamMax = 100;
// The disagreements listed, largest impact first.
inline constexpr int kDisagreementsShown = 10;

struct TeamMember {
    QString file; // as the user gave it: names the member in messages and output
    Project project;
};

// Why a team cannot be combined. `member` is the position of the file at
// fault; `name` the first name that differs, as written in the file where it
// stands (empty for a count).
struct TeamRefusal {
    enum class Kind {
        TooFew,
        TooMany,
        OptionMissing, // in the first file, not in this one
        OptionExtra,   // in this file, not in the first
        CriterionMissing,
        CriterionExtra,
        OptionTwice, // two options of this file share the name
        CriterionTwice,
    };
    Kind kind = Kind::TooFew;
    int member = 0;
    QString name;
};

// Empty when the members can be combined.
std::optional<TeamRefusal> teamRefusal(const std::vector<TeamMember>& members);

// "anna" for "/home/x/anna.pnx": the file name without folders and without
// a final ".pnx".
QString memberName(const QString& file);

struct MemberResult {
    QString name;
    std::vector<int> scores; // per option in team order: the score of their own file
    std::vector<int> best;   // their best options, in team order
};

struct TeamOption {
    int score = 0; // the team score
    int lowest = 0;
    int highest = 0; // the lowest and highest member score
};

// A cell the members rate differently, with how far the team score of its
// option moves between everyone giving it the highest and everyone giving it
// the lowest of their ratings there.
struct Disagreement {
    int option = 0;
    int criterion = 0;
    int impact = 0;
    std::vector<int> ratings; // per member, offsets -5..+5
};

enum class TeamVerdict { Undecided, Unanimous, Majority, Split };

struct TeamResult {
    std::vector<MemberResult> members;
    std::vector<TeamOption> options;
    std::vector<int> best;      // every option with the highest team score
    std::optional<int> maximum; // empty without options
    int agreeing = 0;           // members whose own best include every team best
    TeamVerdict verdict = TeamVerdict::Undecided;
    std::vector<Disagreement> disagreements; // the largest impacts, at most kDisagreementsShown
    // The median importances and ratings, each comment one line per member.
    Project combined;
    // Per option: the chance of scoring the maximum when each cell's rating
    // is that of one member picked at random, with the combined importances.
    std::vector<double> chance;
};

// The whole analysis of members that teamRefusal() accepts.
TeamResult analyseTeam(const std::vector<TeamMember>& members);

// "unanimous", "majority", ... as scripts read them.
const char* teamVerdictName(TeamVerdict verdict);

// The project with the same options, criteria and importances, every rating
// neutral and no comment: what a member starts rating from.
Project blankCopy(const Project& project);

} // namespace ponderix
