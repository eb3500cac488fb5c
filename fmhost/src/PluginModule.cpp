#include "PluginModule.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <vector>

#include "fmx/Text.h"

namespace fmhost {

namespace {

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string initMeaning(fmx::int32 result) {
    switch (result) {
    case fmx::kInitBadVersion:
        return "it does not support interface version " + std::to_string(PluginModule::kInterfaceVersion);
    case fmx::kInitFailed:
        return "its start-up or the registration of its functions failed";
    default:
        return "unexpected answer " + std::to_string(result);
    }
}

}  // namespace

std::string PluginModule::defaultPath() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path beside = exe.parent_path() / "Brelka.so";
        if (isRegularFile(beside.string())) return beside.string();
    }
#ifdef FMHOST_BUILT_PLUGIN
    return FMHOST_BUILT_PLUGIN;
#else
    return "Brelka.so";
#endif
}

PluginModule::PluginModule(const std::string& path) : path_(path) {
    if (!isRegularFile(path)) {
        throw PluginError("cannot load the plug-in " + path + ": " +
                          (access(path.c_str(), F_OK) == 0 ? "it is not a regular file" : "no such file"));
    }
    // A path without a slash would make dlopen search the library path instead of the file.
    const std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
    handle_ = ::dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = ::dlerror();
        throw PluginError("cannot load the plug-in " + path + ": " + (why ? why : "unknown error"));
    }
    entry_ = reinterpret_cast<FMX_ExternCallProc>(::dlsym(handle_, fmx::kEntryPointName));
    if (!entry_) {
        ::dlclose(handle_);
        handle_ = nullptr;
        throw PluginError(path + " is not a plug-in: it has no " + std::string(fmx::kEntryPointName) +
                          " entry point");
    }
}

PluginModule::~PluginModule() {
    if (started_) shutdown();
}

fmx::ptrtype PluginModule::send(fmx::uint8 message, fmx::uint8 parm1, fmx::ptrtype parm2, fmx::ptrtype parm3,
                                fmx::ptrtype result, fmx::int16 version) {
    FMX_ExternCallStruct call{};
    call.extnVersion = version;
    call.whichCall = message;
    call.parm1 = parm1;
    call.parm2 = parm2;
    call.parm3 = parm3;
    call.result = result;
    entry_(&call);
    return call.result;
}

void PluginModule::init(fmx::int16 interfaceVersion) {
    // The start-up hook receives the host's application name as a UTF-16 text.
    static const std::u16string appName = u"fmhost";
    const auto raw = send(fmx::kMsgInit, 0, reinterpret_cast<fmx::ptrtype>(appName.c_str()), 0, 0,
                          interfaceVersion);
    const auto result = static_cast<fmx::int32>(static_cast<std::intptr_t>(raw));
    if (result != fmx::kInitOk)
        throw PluginError("the plug-in " + path_ + " did not start (init answered " + std::to_string(result) +
                          ": " + initMeaning(result) + ")");
    started_ = true;
}

void PluginModule::idle(fmx::uint8 level) {
    if (started_) send(fmx::kMsgIdle, level);
}

void PluginModule::shutdown() {
    if (!started_) return;
    started_ = false;
    send(fmx::kMsgShutdown);
}

std::string PluginModule::getString(fmx::uint8 selector) {
    // The module fills up to the capacity; one more zeroed unit always terminates the text.
    constexpr size_t kCapacity = 1024;
    std::vector<fmx::unichar16> buffer(kCapacity + 1, 0);
    send(fmx::kMsgGetString, selector, 0, kCapacity, reinterpret_cast<fmx::ptrtype>(buffer.data()));
    fmx::Text text;
    text.AssignUnicode(buffer.data());
    return text.utf8();
}

std::unique_ptr<PluginModule> PluginModule::start(const std::string& path, std::ostream& err) {
    try {
        auto plugin = std::make_unique<PluginModule>(path.empty() ? defaultPath() : path);
        plugin->init();
        return plugin;
    } catch (const PluginError& e) {
        err << "fmhost: " << e.what() << std::endl;
        return nullptr;
    }
}

}  // namespace fmhost
