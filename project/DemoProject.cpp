#include "project/DemoProject.h"

#include <span>

namespace ponderix {

namespace assets {
extern const std::span<const unsigned char> kDemoProjectBytes;
}

QByteArrayView demoProjectBytes()
{
    return QByteArrayView(assets::kDemoProjectBytes.data(), static_cast<qsizetype>(assets::kDemoProjectBytes.size()));
}

} // namespace ponderix
