#include "host/iOS_FMTemplate.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "host/FMPluginHandlers.h"
#include "host/Functions.h"
#include "host/iOS_FMUtils.h"

namespace brelka {

thread_local FMX_ExternCallStruct* gFMX_ExternCallPtr = nullptr;
std::atomic<bool> gPlugInInitialized{false};
std::atomic<bool> gPrefsOpen{false};

namespace {

constexpr fmx::int16 kOldestInterface = 50;
constexpr fmx::int16 kNewestInterface = 255;

constexpr fmx::int16 kMinArgs = 0;
constexpr fmx::int16 kNoMaxArgs = -1;
constexpr fmx::uint32 kFunctionFlags = 0xFF01;

struct FunctionEntry {
    fmx::int16 id;
    fmx::ExtPluginType function;
};

// In registration order; unregistration runs it backwards.
constexpr std::array<FunctionEntry, 6> kFunctions = {{
    {1, Brelka_Version},
    {3, Brelka_InputDialog},
    {4, Brelka_ProgressDialog},
    {5, Brelka_Get},
    {6, Brelka_Set},
    {7, Brelka_SetCalculation},
}};

// The configuration string: the plug-in identifier, then the host's seven option flags.
constexpr char16_t kConfiguration[] = u"NvBk1YnYYnn";

// Unregistering is best effort: a host that fails one unregistration must not keep the
// functions after it registered.
void unregisterQuietly(fmx::int16 functionId) {
    try {
        UnRegisterExternalFunction(functionId);
    } catch (...) {
    }
}

fmx::uint32 bufferCapacity(const FMX_ExternCallStruct& call) {
    return static_cast<fmx::uint32>(call.parm3 & 0xFFFFFFFFu);
}

}  // namespace

fmx::int32 Do_PluginInit(fmx::int16 interfaceVersion) {
    if (interfaceVersion < kOldestInterface || interfaceVersion > kNewestInterface) {
        return fmx::kInitBadVersion;
    }
    const auto* startupText =
        reinterpret_cast<const fmx::unichar16*>(gFMX_ExternCallPtr ? gFMX_ExternCallPtr->parm2 : 0);
    if (!Startup(startupText)) return fmx::kInitFailed;
    if (RegisterExternalFunctions()) {
        gPlugInInitialized = true;
        return fmx::kInitOk;
    }
    Shutdown();
    return fmx::kInitFailed;
}

bool RegisterExternalFunctions() {
    for (std::size_t i = 0; i < kFunctions.size(); ++i) {
        bool registered = false;
        // A host call that raises counts as a refusal, so that the undo below still runs.
        try {
            registered = RegisterExternalFunction(kFunctions[i].id, kMinArgs, kNoMaxArgs,
                                                  kFunctionFlags, kFunctions[i].function) == 0;
        } catch (...) {
        }
        if (!registered) {
            for (std::size_t j = i; j-- > 0;) unregisterQuietly(kFunctions[j].id);
            return false;
        }
    }
    return true;
}

void UnRegisterExternalFunctions() {
    for (auto it = kFunctions.rbegin(); it != kFunctions.rend(); ++it) unregisterQuietly(it->id);
}

void Do_PluginShutdown() {
    gPlugInInitialized = false;
    UnRegisterExternalFunctions();
    Shutdown();
}

void Do_PluginIdle(fmx::uint8 level) {
    if (!gPlugInInitialized) return;
    switch (level) {
    case fmx::kIdleUser:
        SafeIdle();
        break;
    case fmx::kIdleUnsafe:
        UnsafeIdle();
        break;
    default:
        SemiSafeIdle(level);
        break;
    }
}

void Do_PluginPrefs() {
    if (gPrefsOpen.exchange(true)) return;
    // Cleared however the hook ends, so that one failure does not lock preferences for good.
    struct Reset {
        ~Reset() { gPrefsOpen = false; }
    } reset;
    Preferences();
}

// Every string is written NUL-terminated and cut to the host's capacity: a short buffer gets
// a shortened string rather than units past its end.
void Do_PluginGetString() {
    FMX_ExternCallStruct* call = gFMX_ExternCallPtr;
    if (call == nullptr) return;
    auto* buffer = reinterpret_cast<fmx::unichar16*>(call->result);
    const fmx::uint32 capacity = bufferCapacity(*call);
    if (buffer == nullptr || capacity == 0) return;
    switch (call->parm1) {
    case fmx::kStrName:
        ReadString(buffer, capacity, kStringName);
        break;
    case fmx::kStrAbout: {
        // The about text arrives padded with NULs to the full capacity.
        const fmx::uint32 units = ReadString(buffer, capacity, kStringAbout);
        std::fill(buffer + units, buffer + capacity, u'\0');
        break;
    }
    case fmx::kStrConfig: {
        constexpr fmx::uint32 length = std::size(kConfiguration) - 1;
        const fmx::uint32 units = std::min(length, capacity - 1);
        std::copy_n(kConfiguration, units, buffer);
        buffer[units] = u'\0';
        break;
    }
    default:
        break;
    }
}

}  // namespace brelka

namespace {

// Sign-extended, so that a host reading the whole member sees -1 and -2 as negative.
fmx::ptrtype initResultMember(fmx::int32 result) {
    return static_cast<fmx::ptrtype>(static_cast<std::intptr_t>(result));
}

}  // namespace

extern "C" void FMExternCallProc(FMX_ExternCallStruct* call) {
    using namespace brelka;
    gFMX_ExternCallPtr = call;
    if (call == nullptr) return;
    // Nothing may unwind into the host: it is C and cannot handle C++ exceptions.
    try {
        switch (call->whichCall) {
        case fmx::kMsgInit: {
            fmx::int32 result = fmx::kInitFailed;
            try {
                result = Do_PluginInit(call->extnVersion);
            } catch (...) {
                result = fmx::kInitFailed;
            }
            call->result = initResultMember(result);
            break;
        }
        case fmx::kMsgIdle:
            Do_PluginIdle(call->parm1);
            break;
        case fmx::kMsgShutdown:
            Do_PluginShutdown();
            break;
        case fmx::kMsgPreferences:
            Do_PluginPrefs();
            break;
        case fmx::kMsgGetString:
            Do_PluginGetString();
            break;
        default:
            break;
        }
    } catch (...) {
    }
}
