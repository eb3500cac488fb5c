// A loaded plug-in module, driven the way the host drives it: init with an interface version,
// get-string for its name, about text and configuration, idle, shutdown. Owns the library
// handle. The host's messages are sent from the main thread.
#pragma once

#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>

#include "fmx/ExternCall.h"

namespace fmhost {

// A module that cannot be loaded or refuses to start; the message says which and why.
class PluginError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PluginModule {
public:
    // The interface version this host announces at init.
    static constexpr fmx::int16 kInterfaceVersion = 57;

    // Loads the module at `path` and finds its entry point. Throws PluginError.
    explicit PluginModule(const std::string& path);
    // Sends shutdown if the module was started. The library stays mapped until the process
    // ends: toolkit objects may still hold code of the module.
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Loads and initialises the module at `path` (the default one when empty), as every kind of
    // run starts its plug-in; on failure says why on `err` and answers null.
    static std::unique_ptr<PluginModule> start(const std::string& path, std::ostream& err);

    // Sends init; throws PluginError unless the module answers that it is ready.
    void init(fmx::int16 interfaceVersion = kInterfaceVersion);
    void idle(fmx::uint8 level = fmx::kIdleUser);
    void shutdown();

    // The name, about text and configuration strings (get-string selectors); empty when the
    // module gives none.
    std::string getString(fmx::uint8 selector);

    const std::string& path() const { return path_; }
    bool started() const { return started_; }

    // The plug-in next to the running executable, or the one built with it.
    static std::string defaultPath();

private:
    fmx::ptrtype send(fmx::uint8 message, fmx::uint8 parm1 = 0, fmx::ptrtype parm2 = 0,
                      fmx::ptrtype parm3 = 0, fmx::ptrtype result = 0, fmx::int16 version = kInterfaceVersion);

    std::string path_;
    void* handle_ = nullptr;
    FMX_ExternCallProc entry_ = nullptr;
    bool started_ = false;
};

}  // namespace fmhost
