#pragma once

#include "evaluation/ChartLibrary.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <memory>

namespace ponderix::bench {

// What drawing pages needs: a GUI application for the text, and the chart
// component loaded into a private folder as start-up does. `who` names the
// benchmark in the line that says the component did not load.
struct PageEnvironment {
    explicit PageEnvironment(const char* who);

    std::unique_ptr<QGuiApplication> application;
    QTemporaryDir folder;
    std::unique_ptr<ChartLibrary> charts;
};

} // namespace ponderix::bench
