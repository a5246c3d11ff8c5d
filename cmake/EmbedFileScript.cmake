file(READ ${SOURCE} content HEX)
string(LENGTH "${content}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}
"// Generated from ${SOURCE}; do not edit.
#include <span>

namespace ponderix::assets {
namespace {
const unsigned char data[${byte_count} + 1] = {
${bytes}0x00};
} // namespace
extern const std::span<const unsigned char> ${SYMBOL};
const std::span<const unsigned char> ${SYMBOL}(data, ${byte_count});
} // namespace ponderix::assets
")
