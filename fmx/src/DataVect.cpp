#include "fmx/DataVect.h"

#include <string>

#include "fmx/Exceptions.h"

namespace fmx {

const Data& DataVect::valueAt(uint32 position, const char* operation) const {
    checkFailure(operation);
    if (position >= values_.size()) {
        throw HostException(std::string(operation) + ": argument " + std::to_string(position) +
                            " is outside a vector of " + std::to_string(values_.size()));
    }
    return values_[position];
}

const Data& DataVect::At(uint32 position) const { return valueAt(position, "DataVect::At"); }

const Text& DataVect::AtAsText(uint32 position) const {
    return valueAt(position, "DataVect::AtAsText").GetAsText();
}

const FixPt& DataVect::AtAsNumber(uint32 position) const {
    return valueAt(position, "DataVect::AtAsNumber").GetAsNumber();
}

bool DataVect::AtAsBoolean(uint32 position) const {
    return valueAt(position, "DataVect::AtAsBoolean").GetAsBoolean();
}

const BinaryData& DataVect::AtAsBinaryData(uint32 position) const {
    return valueAt(position, "DataVect::AtAsBinaryData").GetBinaryData();
}

}  // namespace fmx
