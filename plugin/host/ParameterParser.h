// Turns the argument vector of an external function call into the parameter dictionary:
// argument i under "param_i", as text (UTF-8), number, boolean or decoded image. Dates, times,
// timestamps and containers without a decodable image leave their key out.
#pragma once

#include "fmx/fmx.h"
#include "store/Value.h"

namespace brelka {

class ParameterParser {
public:
    static Dictionary getAllParameters(const fmx::DataVect& parameters);
    // The image in a container, decoded from its largest stream; nullptr when there is none.
    static ImageRef imageFromContainer(const fmx::BinaryData& container);
};

}  // namespace brelka
