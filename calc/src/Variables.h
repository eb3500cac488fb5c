// The state of one run that outlives a single calculation: its `$` and `$$` variables (keyed
// by their case-folded names, prefix included) and how deeply evaluations are nested right
// now, so that Evaluate and plug-in evaluations cannot recurse without end. Used by one
// evaluation at a time (see Run).
#pragma once

#include <string>
#include <unordered_map>

#include "Value.h"
#include "calc/Engine.h"

namespace calc {

struct Run::Variables {
    std::unordered_map<std::u16string, Value> values;
    int evaluationDepth = 0;
};

}  // namespace calc
