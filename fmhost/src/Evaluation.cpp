#include "Evaluation.h"

#include <exception>
#include <string_view>

namespace fmhost {

calc::Result evaluateSafely(calc::Engine& engine, const std::string& source, calc::Run& run) {
    try {
        return engine.evaluate(std::string_view(source), run);
    } catch (const std::exception& e) {
        calc::Result result;
        result.errorCode = 1;
        result.errorMessage = std::string("internal error: ") + e.what();
        return result;
    }
}

}  // namespace fmhost
