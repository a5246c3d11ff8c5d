#include "bench/PageEnvironment.h"

#include <cstdio>

namespace ponderix::bench {

PageEnvironment::PageEnvironment(const char* who)
{
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "ponderix_bench";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    ChartLibrary::LoadResult loaded = ChartLibrary::load(folder.path());
    charts = std::move(loaded.library);
    if (!charts)
        std::fprintf(stderr, "%s: the chart component did not load: %s\n", who, qPrintable(loaded.error));
}

} // namespace ponderix::bench
