#include "host/PluginBridge.h"

#include "parser/InputDialogSession.h"
#include "store/Plugin.h"

namespace brelka {

std::string PluginBridge::get(const Dictionary& parameters) { return Plugin::get(parameters); }

std::string PluginBridge::set(const Dictionary& parameters) { return Plugin::set(parameters); }

std::string PluginBridge::openInputDialog(const Dictionary& parameters) {
    return InputDialogSession::createInputDialog(parameters);
}

}  // namespace brelka
