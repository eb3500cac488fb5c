// The argument vector of an external function call, in call order, indexed from 0.
#pragma once

#include <vector>

#include "fmx/Data.h"

namespace fmx {

class DataVect {
public:
    uint32 Size() const { return static_cast<uint32>(values_.size()); }
    bool IsEmpty() const { return values_.empty(); }
    void Clear() { values_.clear(); }
    void PushBack(const Data& value) { values_.push_back(value); }

    // Each accessor raises HostException for a position outside the vector.
    const Data& At(uint32 position) const;
    const Text& AtAsText(uint32 position) const;
    const FixPt& AtAsNumber(uint32 position) const;
    bool AtAsBoolean(uint32 position) const;
    const BinaryData& AtAsBinaryData(uint32 position) const;

private:
    // The value at `position` after the failure check of `operation`; raises for a position
    // outside the vector.
    const Data& valueAt(uint32 position, const char* operation) const;

    std::vector<Data> values_;
};

}  // namespace fmx
