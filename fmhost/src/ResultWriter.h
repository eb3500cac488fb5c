// Writes each calculation's result to standard output, as plain text or one JSON object per
// line, and error messages to standard error. Used from the calculation thread only; each line
// is flushed as it is written, so that a reader sees results as they come.
#pragma once

#include <ostream>
#include <string>

#include "calc/Engine.h"

namespace fmhost {

class ResultWriter {
public:
    ResultWriter(std::ostream& out, std::ostream& err, bool json) : out_(out), err_(err), json_(json) {}

    void write(const std::string& origin, const std::string& source, const calc::Result& result);

    // The JSON line of one result (without the line break).
    static std::string jsonLine(const std::string& source, const calc::Result& result);
    // The `type` of a result: text, number, date, time, timestamp, container, boolean or error.
    static const char* typeName(const calc::Result& result);

private:
    std::ostream& out_;
    std::ostream& err_;
    bool json_;
};

}  // namespace fmhost
