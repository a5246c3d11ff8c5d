#pragma once

#include "project/Project.h"

#include <QString>
#include <QStringList>

namespace ponderix::test {

// Options "O0".., criteria "C0".. (importance 1 + c % 5), every rating with
// the comment "o:c" and the value (o + 2c) % 11.
// The entries' names in list order, joined by commas: what a move or an
// undo must leave behind, in one comparable line.
inline QString optionNames(const Project& project)
{
    QStringList all;
    for (const Option& option : project.options())
        all << option.Name;
    return all.join(u',');
}

inline QString criterionNames(const Project& project)
{
    QStringList all;
    for (const Criterion& criterion : project.criteria())
        all << criterion.Name;
    return all.join(u',');
}

inline Project matrixProject(int options, int criteria)
{
    Project project;
    for (int o = 0; o < options; ++o)
        project.appendOption(QStringLiteral("O%1").arg(o));
    for (int c = 0; c < criteria; ++c)
        project.appendCriterion(QStringLiteral("C%1").arg(c), 1 + c % 5);
    for (int o = 0; o < options; ++o) {
        for (int c = 0; c < criteria; ++c)
            project.appendRating(o, c, QStringLiteral("%1:%2").arg(o).arg(c), (o + 2 * c) % 11);
    }
    return project;
}

} // namespace ponderix::test
