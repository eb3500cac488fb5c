#include "fmx/QuadChar.h"

namespace fmx {

QuadChar::QuadChar(const std::string& code) {
    for (std::size_t i = 0; i < 4 && i < code.size(); ++i) chars_[i] = code[i];
}

// Big-endian, so that codes compare and print in the order they are written.
uint32 QuadChar::value() const {
    uint32 v = 0;
    for (char c : chars_) v = (v << 8) | static_cast<unsigned char>(c);
    return v;
}

}  // namespace fmx
