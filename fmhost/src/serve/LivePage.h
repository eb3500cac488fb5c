// The live preview's page (fmhost/web/index.html), built into the program so that it works
// from any directory and without a network.
#pragma once

#include <string_view>

namespace fmhost {

std::string_view livePage();

}  // namespace fmhost
