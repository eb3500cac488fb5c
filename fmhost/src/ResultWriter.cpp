#include "ResultWriter.h"

#include <nlohmann/json.hpp>

namespace fmhost {

namespace {

// A JSON string; ill-formed UTF-8 in a value (a plug-in may hand back anything) is replaced
// rather than aborting the run.
std::string quoted(const std::string& s) {
    return nlohmann::json(s).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

const char* ResultWriter::typeName(const calc::Result& result) {
    if (result.isError()) return "error";
    switch (result.value.GetNativeType()) {
    case fmx::kDTNumber:
        return "number";
    case fmx::kDTDate:
        return "date";
    case fmx::kDTTime:
        return "time";
    case fmx::kDTTimeStamp:
        return "timestamp";
    case fmx::kDTBinary:
        return "container";
    case fmx::kDTBoolean:
        return "boolean";
    default:
        return "text";
    }
}

std::string ResultWriter::jsonLine(const std::string& source, const calc::Result& result) {
    // Written by hand rather than with dump() so that the keys keep the documented order and
    // the line reads like the documented form.
    std::string line = "{\"calc\": " + quoted(source) + ", \"type\": \"" + typeName(result) + "\", \"text\": " +
                       quoted(result.isError() ? std::string("?") : result.value.GetAsText().utf8());
    if (result.isError())
        line += ", \"error\": " + quoted(result.errorMessage) + ", \"code\": " + std::to_string(result.errorCode);
    line += "}";
    return line;
}

void ResultWriter::write(const std::string& origin, const std::string& source, const calc::Result& result) {
    if (json_) {
        out_ << jsonLine(source, result) << '\n';
    } else if (result.isError()) {
        out_ << "?\n";
        out_.flush();
        err_ << "fmhost: " << origin << ": " << result.errorMessage << " (error " << result.errorCode << ")"
             << std::endl;
    } else {
        std::string text = result.value.GetAsText().utf8();
        for (char& c : text)
            if (c == '\r') c = '\n';
        out_ << text << '\n';
    }
    out_.flush();
}

}  // namespace fmhost
