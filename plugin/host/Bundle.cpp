#include "host/Bundle.h"

#include <dlfcn.h>

#include <cstdlib>

namespace brelka {

std::filesystem::path Bundle::folder() {
    if (const char* overridden = std::getenv("BRELKA_BUNDLE"); overridden && *overridden) {
        return overridden;
    }
    // The object file that holds this function is the plug-in module (or, in tests, the
    // executable it is linked into); the bundle sits beside it.
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&Bundle::folder), &info) != 0 && info.dli_fname) {
        std::error_code error;
        auto module = std::filesystem::absolute(info.dli_fname, error);
        if (!error) {
            return module.parent_path() / "Brelka.bundle";
        }
    }
    return "Brelka.bundle";
}

ImageRef Bundle::image(std::string_view name) { return ui::Image::named(name, folder()); }

}  // namespace brelka
