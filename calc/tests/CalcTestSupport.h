// Helpers shared by the calculation engine's tests: evaluate a calculation in a run and read
// the result back as its type name, its text form and its error code.
#pragma once

#include <string>

#include "calc/Engine.h"

namespace calc::testing {

struct Outcome {
    std::string type;  // text, number, date, time, timestamp, container, boolean, invalid
    std::string text;  // the value's text form (UTF-8)
    int code = 0;
    std::string message;
};

inline std::string typeName(fmx::int32 type) {
    switch (type) {
    case fmx::kDTText: return "text";
    case fmx::kDTNumber: return "number";
    case fmx::kDTDate: return "date";
    case fmx::kDTTime: return "time";
    case fmx::kDTTimeStamp: return "timestamp";
    case fmx::kDTBinary: return "container";
    case fmx::kDTBoolean: return "boolean";
    default: return "invalid";
    }
}

inline Outcome evaluate(Engine& engine, Run& run, const std::string& source) {
    Result r = engine.evaluate(std::string_view(source), run);
    return Outcome{typeName(r.value.GetNativeType()), r.value.GetAsText().utf8(), r.errorCode, r.errorMessage};
}

}  // namespace calc::testing
