#pragma once

#include "evaluation/Scoring.h"
#include "project/DemoProject.h"
#include "project/Project.h"
#include "project/ProjectReader.h"

#include <gtest/gtest.h>

namespace ponderix::test {

// The built-in demo project, scored as the results window scores it; an
// empty project, and a failed expectation, when it cannot be read.
inline Project scoredDemo()
{
    ReadResult result = readProjectBytes(demoProjectBytes());
    EXPECT_TRUE(result.ok());
    Project project = result.ok() ? std::move(result.project()) : Project();
    ComputeScores(project);
    return project;
}

} // namespace ponderix::test
