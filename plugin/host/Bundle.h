// The plug-in's resource bundle: the folder "Brelka.bundle" next to the loaded module, or the
// folder named by BRELKA_BUNDLE in the environment (tests and relocated installs).
#pragma once

#include <filesystem>
#include <string_view>

#include "store/Value.h"

namespace brelka {

class Bundle {
public:
    // The bundle folder; it may not exist.
    static std::filesystem::path folder();
    // The image "<name>.png" of the bundle, or nullptr when it is missing or unreadable.
    static ImageRef image(std::string_view name);
};

}  // namespace brelka
