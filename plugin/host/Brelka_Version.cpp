#include <cstdio>

#include "host/Functions.h"
#include "host/Support_Functions.h"

namespace brelka {

namespace {

// The format keywords of Brelka_Version, in the order of their answers below.
const char* const gVersionTypes[] = {"short", "long", "platform", "autoupdate"};
constexpr int kVersionTypeCount = 4;

constexpr const char* kVersion = "6.0.6";

std::string versionText(int index) {
    switch (index) {
    case 1: return std::string("Norvik Brelka Plug-In ") + kVersion;
    case 2: return "iOS";
    case 3: {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%02d%02d%02d%02d", 6, 0, 6, 1);
        return digits;
    }
    default: return kVersion;  // "short", and any word that is not a keyword
    }
}

}  // namespace

fmx::errcode Brelka_Version(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect& parms,
                            fmx::Data& result) {
    return guardedFrame(result, [&] {
        int index = 0;
        if (parms.Size() >= 1) {
            index = FindFMTextInArray(parms.AtAsText(0), gVersionTypes, kVersionTypeCount);
        }
        storeTextResult(versionText(index), result);
    });
}

}  // namespace brelka
