#include "host/CalculationBridge.h"

#include <any>

#include "host/Diagnostics.h"
#include "host/Support_Functions.h"
#include "store/Value.h"

namespace brelka {

namespace {

// The pilcrow, which a text literal otherwise reads as a line break.
constexpr std::string_view kPilcrow = "\xC2\xB6";

}  // namespace

std::string CalculationBridge::expression(std::string_view x, std::string_view calc) {
    std::string out = "Let ( x = \"";
    out.reserve(out.size() + x.size() + calc.size() + 8);
    for (std::size_t i = 0; i < x.size(); ++i) {
        const char c = x[i];
        if (c == '"' || c == '\\') {
            out += '\\';
        } else if (x.substr(i, kPilcrow.size()) == kPilcrow) {
            out += '\\';
        }
        out += c;
    }
    out += "\" ; ";
    out += calc;
    out += " )";
    return out;
}

std::string CalculationBridge::answer(const fmx::Data& result) {
    switch (result.GetNativeType()) {
    case fmx::kDTText:
        return StringFromFmText(result.GetAsText());
    case fmx::kDTNumber:
    case fmx::kDTBoolean:
        // True and False are numbers to a calculation; the engine may keep them apart.
        return result.GetAsNumber().AsLong() != 0 ? "0" : "";
    default:
        return "";
    }
}

ui::NotificationCenter::Observer CalculationBridge::observe(const fmx::ExprEnv& env) {
    return ui::NotificationCenter::defaultCenter().addObserver(kRequest, [&env](const ui::Notification& n) {
        const auto* request = std::any_cast<Dictionary>(&n.object);
        if (!request) return;
        const auto text = [request](const char* key) -> std::string {
            const auto it = request->find(key);
            if (it == request->end()) return {};
            const auto* s = std::get_if<std::string>(&it->second);
            return s ? *s : std::string();
        };
        fmx::Text expr;
        expr.Assign(expression(text("x"), text("calc")).c_str(), fmx::kEncoding_UTF8);
        fmx::Data result;
        // The code is not consulted: a failed evaluation answers through its result's kind.
        const fmx::errcode code = env.Evaluate(expr, result);
        std::string reply = answer(result);
        if (Diagnostics::enabled()) {
            std::string line = "InputDialog: calculation answered with code " + std::to_string(code) + ": ";
            appendForLog(line, reply);
            Diagnostics::log(line);
        }
        ui::NotificationCenter::defaultCenter().post(kAnswer, std::move(reply));
    });
}

}  // namespace brelka
