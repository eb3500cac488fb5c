#include "host/Bundle.h"

#include <dlfcn.h>

#include <cstdlib>

namespace brelka {

namespace {

// The folder beside the loaded module. The module does not move while it is loaded, so it is
// worked out once: asking the loader and the file system on every image lookup cost more than
// the lookup itself.
std::filesystem::path moduleFolder() {
    // The object file that holds this function is the plug-in module (or, in tests, the
    // executable it is linked into); the bundle sits beside it.
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&moduleFolder), &info) != 0 && info.dli_fname) {
        std::error_code error;
        auto module = std::filesystem::absolute(info.dli_fname, error);
        if (!error) {
            return module.lexically_normal().parent_path() / "Brelka.bundle";
        }
    }
    return "Brelka.bundle";
}

}  // namespace

std::filesystem::path Bundle::folder() {
    if (const char* overridden = std::getenv("BRELKA_BUNDLE"); overridden && *overridden) {
        return overridden;
    }
    static const std::filesystem::path beside = moduleFolder();
    return beside;
}

ImageRef Bundle::image(std::string_view name) { return ui::Image::named(name, folder()); }

}  // namespace brelka
