# Turns the live preview's page into a C++ source, so that fmhost carries it and works from
# any directory. Run at build time:  cmake -DINPUT=index.html -DOUTPUT=LivePage.cpp -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT} at build time; edit that file instead.
#include \"serve/LivePage.h\"

namespace fmhost {

namespace {
const unsigned char kPage[] = {
    ${bytes}
};
}  // namespace

std::string_view livePage() { return {reinterpret_cast<const char*>(kPage), sizeof kPage}; }

}  // namespace fmhost
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
