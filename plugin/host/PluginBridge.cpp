#include "host/PluginBridge.h"

#include "host/CalculationBridge.h"
#include "parser/InputDialogSession.h"
#include "store/Plugin.h"

namespace brelka {

std::string PluginBridge::get(const Dictionary& parameters) { return Plugin::get(parameters); }

std::string PluginBridge::set(const Dictionary& parameters) { return Plugin::set(parameters); }

std::string PluginBridge::openInputDialog(const Dictionary& parameters) {
    return InputDialogSession::createInputDialog(parameters);
}

std::string PluginBridge::openInputDialog(const Dictionary& parameters, const fmx::ExprEnv& env) {
    return InputDialogSession::createInputDialog(parameters, [&env] { return CalculationBridge::observe(env); });
}

}  // namespace brelka
