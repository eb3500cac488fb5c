// The plug-in as a host sees it: the built module loaded with dlopen, driven only through
// FMExternCallProc, with a test engine standing in for the host's function registry.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestEngine.h"
#include "fmx/fmx.h"
#include "host/iOS_FMUtils.h"

namespace {

using fmx::testing::ScopedEngine;
using fmx::testing::ScopedFailureHook;
using fmx::testing::TestEngine;

constexpr fmx::ptrtype kMinusOne = static_cast<fmx::ptrtype>(-1);
constexpr fmx::ptrtype kMinusTwo = static_cast<fmx::ptrtype>(-2);
constexpr char16_t kSentinel = u'#';

const std::u16string kName = u"Norvik Brelka Plug-In";
const std::u16string kAbout =
    u"This plug-in displays dialog boxes and progress bars...\\n\\n"
    u"Norvik Software, 2014-2026\\n"
    u"Written by the Brelka developers\\n\\n"
    u"Version 6.0.6";
const std::u16string kConfiguration = u"NvBk1YnYYnn";

struct FunctionRow {
    fmx::int16 id;
    const char* name;
    const char* prototype;
};

const std::vector<FunctionRow> kFunctionTable = {
    {1, "Brelka_Version", "Brelka_Version( versionFormat )"},
    {3, "Brelka_InputDialog",
     "Brelka_InputDialog( dialogPrompt { ; dialogButtons { ; dialogItems... } } )"},
    {4, "Brelka_ProgressDialog",
     "Brelka_ProgressDialog( { dialogNumber ; } action { ; actionData... } )"},
    {5, "Brelka_Get", "Brelka_Get( selector { ; moreData } )"},
    {6, "Brelka_Set", "Brelka_Set( selector ; newValue )"},
    {7, "Brelka_SetCalculation",
     "Brelka_SetCalculation( updateType ; updateFieldIndex ; eventType { ; eventFieldIndex } ; "
     "calculation )"},
};

class Module {
public:
    static Module& get() {
        static Module module;
        return module;
    }
    void* handle = nullptr;
    FMX_ExternCallProc entry = nullptr;

private:
    Module() {
        handle = dlopen(BRELKA_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) {
            entry = reinterpret_cast<FMX_ExternCallProc>(dlsym(handle, fmx::kEntryPointName));
        }
    }
};

class EntryPoint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Module::get().handle, nullptr) << dlerror();
        ASSERT_NE(Module::get().entry, nullptr);
    }
    void TearDown() override {
        send(fmx::kMsgShutdown);
        fmx::setFailureHook(nullptr);
    }

    FMX_ExternCallStruct send(fmx::uint8 kind, fmx::uint8 parm1 = 0, fmx::ptrtype parm3 = 0,
                              fmx::ptrtype result = 0, fmx::int16 version = 0) {
        FMX_ExternCallStruct call{};
        call.extnVersion = version;
        call.whichCall = kind;
        call.parm1 = parm1;
        call.parm3 = parm3;
        call.result = result;
        Module::get().entry(&call);
        return call;
    }
    fmx::ptrtype init(fmx::int16 version) {
        return send(fmx::kMsgInit, 0, 0, 0, version).result;
    }
    // The host's buffer, with guard units after the capacity to see any write past it.
    std::vector<char16_t> getString(fmx::uint8 selector, fmx::ptrtype capacity,
                                    std::size_t units) {
        std::vector<char16_t> buffer(units + 16, kSentinel);
        send(fmx::kMsgGetString, selector, capacity, reinterpret_cast<fmx::ptrtype>(buffer.data()));
        return buffer;
    }

    TestEngine engine;
    ScopedEngine installed{engine};
};

TEST_F(EntryPoint, AcceptedInterfaceVersionsRegisterTheSixFunctions) {
    for (fmx::int16 version : {50, 51, 255}) {
        engine.clearRecords();
        EXPECT_EQ(init(version), 65u) << version;
        EXPECT_EQ(engine.registrationAttempts(), (std::vector<fmx::int16>{1, 3, 4, 5, 6, 7}));
        const auto functions = engine.functions();
        ASSERT_EQ(functions.size(), kFunctionTable.size());
        for (std::size_t i = 0; i < functions.size(); ++i) {
            const auto& f = functions[i];
            EXPECT_EQ(f.pluginId.str(), "NvBk");
            EXPECT_EQ(f.functionId, kFunctionTable[i].id);
            EXPECT_EQ(f.name, kFunctionTable[i].name);
            EXPECT_EQ(f.prototype, kFunctionTable[i].prototype);
            EXPECT_EQ(f.minArgs, 0);
            EXPECT_EQ(f.maxArgs, -1);
            EXPECT_EQ(f.flags, 0xFF01u);
            EXPECT_NE(f.function, nullptr);
            for (std::size_t j = 0; j < i; ++j) EXPECT_NE(f.function, functions[j].function);
        }
        send(fmx::kMsgShutdown);
        EXPECT_EQ(engine.unregistrations(), (std::vector<fmx::int16>{7, 6, 5, 4, 3, 1}));
        EXPECT_TRUE(engine.functions().empty());
    }
}

TEST_F(EntryPoint, RejectedInterfaceVersionsAnswerMinusOneAndRegisterNothing) {
    for (fmx::int16 version : {49, 256, 0, -1, 32767, -32768}) {
        EXPECT_EQ(init(version), kMinusOne) << version;
    }
    EXPECT_TRUE(engine.registrationAttempts().empty());
    EXPECT_TRUE(engine.unregistrations().empty());
}

TEST_F(EntryPoint, RefusedRegistrationUndoesThisCallsRegistrationsNewestFirst) {
    struct Case {
        fmx::int16 refused;
        std::vector<fmx::int16> undone;
    };
    const std::vector<Case> cases = {
        {1, {}},
        {4, {3, 1}},
        {7, {6, 5, 4, 3, 1}},
    };
    for (const auto& c : cases) {
        engine.clearRecords();
        engine.failRegistrationOf(c.refused);
        EXPECT_EQ(init(50), kMinusTwo) << c.refused;
        EXPECT_EQ(engine.unregistrations(), c.undone) << c.refused;
        EXPECT_TRUE(engine.functions().empty()) << c.refused;
        engine.clearRegistrationFailure();
    }
    EXPECT_EQ(init(50), 65u);
    EXPECT_EQ(engine.functions().size(), 6u);
}

// A host call that raises during init must not unwind into the host, and must not leave some
// functions registered behind a failed init.
TEST_F(EntryPoint, InitThatRaisesAnswersMinusTwoAndLeavesNothingRegistered) {
    for (int kind : {1, 2}) {
        engine.clearRecords();
        int registrations = 0;
        ScopedFailureHook hook([&](const char* op) {
            return std::string(op) == "ExprEnv::RegisterExternalFunction" && ++registrations == 3
                       ? kind
                       : 0;
        });
        EXPECT_EQ(init(50), kMinusTwo);
        EXPECT_EQ(engine.unregistrations(), (std::vector<fmx::int16>{3, 1}));
        EXPECT_TRUE(engine.functions().empty());
    }
    ScopedFailureHook textFails([](const char* op) {
        return std::string(op) == "Text::Assign" ? 1 : 0;
    });
    EXPECT_EQ(init(50), kMinusTwo);
    EXPECT_TRUE(engine.functions().empty());
}

TEST_F(EntryPoint, ShutdownThenInitRegistersEverythingAgain) {
    ASSERT_EQ(init(60), 65u);
    send(fmx::kMsgShutdown);
    EXPECT_TRUE(engine.functions().empty());
    engine.clearRecords();
    EXPECT_EQ(init(60), 65u);
    EXPECT_EQ(engine.registrationAttempts(), (std::vector<fmx::int16>{1, 3, 4, 5, 6, 7}));
    EXPECT_EQ(engine.functions().size(), 6u);
}

// Idle, preferences and unknown messages, in any state, change nothing the host can see.
TEST_F(EntryPoint, OtherMessagesLeaveRegistrationsAndTheRecordAlone) {
    const auto sendAll = [&] {
        for (fmx::uint8 level : {0, 1, 2, 3, 4, 255}) {
            EXPECT_EQ(send(fmx::kMsgIdle, level, 0, 1234).result, 1234u);
        }
        EXPECT_EQ(send(fmx::kMsgPreferences, 0, 0, 1234).result, 1234u);
        for (fmx::uint8 kind : {2, 3, 6, 8, 255}) {
            EXPECT_EQ(send(kind, 0, 0, 1234).result, 1234u);
        }
    };
    sendAll();
    EXPECT_TRUE(engine.registrationAttempts().empty());
    ASSERT_EQ(init(50), 65u);
    engine.clearRecords();
    sendAll();
    EXPECT_TRUE(engine.registrationAttempts().empty());
    EXPECT_TRUE(engine.unregistrations().empty());
    EXPECT_EQ(engine.functions().size(), 6u);
    Module::get().entry(nullptr);
}

std::u16string padded(const std::u16string& text, std::size_t units) {
    std::u16string s = text.substr(0, units);
    s.resize(units, u'\0');
    return s;
}

// Every selector writes at most `capacity` units, NUL-terminated; other selectors write nothing.
TEST_F(EntryPoint, GetStringWritesWithinTheHostsCapacity) {
    struct Case {
        fmx::uint8 selector;
        fmx::ptrtype capacity;
        std::u16string written;
    };
    const std::vector<Case> cases = {
        {128, 0, u""},
        {128, 1, padded(u"", 1)},
        {128, 5, padded(u"Norv", 5)},
        {128, 22, padded(kName, 22)},
        {128, 200, padded(kName, 22)},
        {129, 0, u""},
        {129, 1, padded(u"", 1)},
        {129, 10, padded(u"This plug", 10)},
        {129, 400, padded(kAbout, 400)},
        {131, 0, u""},
        {131, 1, padded(u"", 1)},
        {131, 5, padded(u"NvBk", 5)},
        {131, 12, padded(kConfiguration, 12)},
        {131, 200, padded(kConfiguration, 12)},
        {131, (fmx::ptrtype{1} << 32) | 5, padded(u"NvBk", 5)},
        {130, 200, u""},
        {127, 200, u""},
        {0, 200, u""},
        {255, 200, u""},
    };
    for (const auto& c : cases) {
        const auto buffer = getString(c.selector, c.capacity, 400);
        const std::u16string head(buffer.begin(), buffer.begin() + c.written.size());
        EXPECT_EQ(head, c.written) << int(c.selector) << " capacity " << c.capacity;
        for (std::size_t i = c.written.size(); i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], kSentinel)
                << "unit " << i << " of selector " << int(c.selector) << ", capacity " << c.capacity;
        }
    }
    // A null buffer is ignored whatever the capacity says.
    send(fmx::kMsgGetString, fmx::kStrAbout, 100, 0);
}

TEST_F(EntryPoint, GetStringThatRaisesWritesNothing) {
    ScopedFailureHook hook([](const char* op) { return std::string(op) == "Text::Assign" ? 2 : 0; });
    for (fmx::uint8 selector : {fmx::kStrName, fmx::kStrAbout}) {
        const auto buffer = getString(selector, 100, 100);
        for (char16_t unit : buffer) ASSERT_EQ(unit, kSentinel) << int(selector);
    }
}

TEST(StringTable, MapsStringNumbersToPrototypesEmptyTextsOrError) {
    struct Case {
        fmx::uint32 number;
        std::string text;
    };
    const std::vector<Case> cases = {
        {101, kFunctionTable[0].prototype}, {103, kFunctionTable[1].prototype},
        {107, kFunctionTable[5].prototype}, {108, ""},
        {110, ""},                          {100, "ERROR"},
        {111, "ERROR"},                     {0, "ERROR"},
    };
    for (const auto& c : cases) {
        std::vector<char16_t> buffer(1024, kSentinel);
        brelka::Do_GetString(c.number, buffer.data(), 1024);
        EXPECT_EQ(fmx::Text(std::u16string(buffer.data())).utf8(), c.text) << c.number;
    }
    char16_t small[9];
    std::fill(std::begin(small), std::end(small), kSentinel);
    brelka::Do_GetString(101, small, 8);
    EXPECT_EQ(std::u16string(small, 9), std::u16string(u"Brelka_\0#", 9));
}

// The names of the module's defined dynamic symbols, read from its ELF symbol table (what
// `nm -D --defined-only` lists).
std::vector<std::string> exportedSymbols(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> names;
    if (bytes.size() < sizeof(Elf64_Ehdr)) return names;
    const auto* header = reinterpret_cast<const Elf64_Ehdr*>(bytes.data());
    const auto* sections = reinterpret_cast<const Elf64_Shdr*>(bytes.data() + header->e_shoff);
    for (int i = 0; i < header->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM) continue;
        const char* strings = bytes.data() + sections[sections[i].sh_link].sh_offset;
        const auto* symbols = reinterpret_cast<const Elf64_Sym*>(bytes.data() + sections[i].sh_offset);
        const std::size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
        for (std::size_t s = 0; s < count; ++s) {
            if (symbols[s].st_shndx == SHN_UNDEF || symbols[s].st_name == 0) continue;
            names.emplace_back(strings + symbols[s].st_name);
        }
    }
    return names;
}

TEST(ModuleExports, OnlyTheEntryPointIsExported) {
    EXPECT_EQ(exportedSymbols(BRELKA_MODULE_PATH), std::vector<std::string>{"FMExternCallProc"});
    void* handle = Module::get().handle;
    ASSERT_NE(handle, nullptr);
    for (const char* internal : {"_ZN6brelka13Do_PluginInitEs", "_ZN6brelka18gPlugInInitializedE",
                                 "_ZN6brelka25RegisterExternalFunctionsEv"}) {
        EXPECT_EQ(dlsym(handle, internal), nullptr) << internal;
    }
}

}  // namespace
