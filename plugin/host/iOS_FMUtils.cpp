#include "host/iOS_FMUtils.h"

#include <algorithm>
#include <array>

namespace brelka {

namespace {

constexpr fmx::uint32 kFirstPrototype = 101;
constexpr fmx::uint32 kLastString = 110;
// Registration reads a table string through a buffer of this many units.
constexpr fmx::uint32 kRegistrationBufferUnits = 1024;

const char* prototypeText(fmx::uint32 stringNumber) {
    switch (stringNumber) {
    case 101:
        return "Brelka_Version( versionFormat )";
    case 103:
        return "Brelka_InputDialog( dialogPrompt { ; dialogButtons { ; dialogItems... } } )";
    case 104:
        return "Brelka_ProgressDialog( { dialogNumber ; } action { ; actionData... } )";
    case 105:
        return "Brelka_Get( selector { ; moreData } )";
    case 106:
        return "Brelka_Set( selector ; newValue )";
    case 107:
        return "Brelka_SetCalculation( updateType ; updateFieldIndex ; eventType { ; "
               "eventFieldIndex } ; calculation )";
    default:
        return "";
    }
}

const char* tableText(fmx::uint32 stringNumber) {
    if (stringNumber < kFirstPrototype || stringNumber > kLastString) return "ERROR";
    return prototypeText(stringNumber);
}

// The about text's line breaks are the two characters backslash and n: the host turns them
// into line breaks when it shows the text.
constexpr const char* kAboutText =
    "This plug-in displays dialog boxes and progress bars...\\n\\n"
    "Norvik Software, 2014-2026\\n"
    "Written by the Brelka developers\\n\\n"
    "Version 6.0.6";
constexpr const char* kNameText = "Norvik Brelka Plug-In";

// Converts `utf8` with the host and writes it NUL-terminated, cut to `capacity` units. The
// text is converted before anything is written, so a failed conversion leaves the buffer as
// it was.
fmx::uint32 copyToBuffer(const char* utf8, fmx::unichar16* buffer, fmx::uint32 capacity) {
    if (buffer == nullptr || capacity == 0) return 0;
    fmx::Text text;
    text.Assign(utf8, fmx::kEncoding_Native);
    const fmx::uint32 units = std::min(text.GetSize(), capacity - 1);
    text.GetUnicode(buffer, 0, units);
    buffer[units] = u'\0';
    return units;
}

fmx::Text tableEntry(fmx::uint32 stringNumber) {
    std::array<fmx::unichar16, kRegistrationBufferUnits> buffer{};
    Do_GetString(stringNumber, buffer.data(), kRegistrationBufferUnits);
    fmx::Text text;
    text.AssignUnicode(buffer.data());
    return text;
}

}  // namespace

void Do_GetString(fmx::uint32 stringNumber, fmx::unichar16* buffer, fmx::uint32 capacity) {
    copyToBuffer(tableText(stringNumber), buffer, capacity);
}

fmx::uint32 ReadString(fmx::unichar16* buffer, fmx::uint32 capacity, fmx::uint32 selector) {
    switch (selector) {
    case kStringName:
        return copyToBuffer(kNameText, buffer, capacity);
    case kStringAbout:
        return copyToBuffer(kAboutText, buffer, capacity);
    default:
        return 0;
    }
}

fmx::errcode RegisterExternalFunction(fmx::int16 functionId, fmx::int16 minArgs,
                                      fmx::int16 maxArgs, fmx::uint32 flags,
                                      fmx::ExtPluginType function) {
    const fmx::QuadChar pluginId(kPluginId);
    const fmx::uint32 stringNumber = static_cast<fmx::uint32>(functionId) + 100;
    const fmx::Text prototype = tableEntry(stringNumber);
    fmx::Text name = tableEntry(stringNumber);
    fmx::Text parenthesis;
    parenthesis.Assign("(", fmx::kEncoding_Native);
    const fmx::uint32 open = name.Find(parenthesis, 0);
    if (open != fmx::kSize_End) name.DeleteText(open);
    return fmx::ExprEnv::RegisterExternalFunction(pluginId, functionId, name, prototype, minArgs,
                                                  maxArgs, flags, function);
}

fmx::errcode UnRegisterExternalFunction(fmx::int16 functionId) {
    return fmx::ExprEnv::UnRegisterExternalFunction(fmx::QuadChar(kPluginId), functionId);
}

}  // namespace brelka
