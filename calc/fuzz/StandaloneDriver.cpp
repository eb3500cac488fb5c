// Runs the fuzz target without libFuzzer, as a test in the normal build: every file of the
// corpus folders given on the command line, then a number of inputs made from the corpus by
// random mutation and from random runs of calculation tokens. The seed is fixed, so a failure
// repeats. Usage: calc_fuzz_smoke CORPUS_DIR [COUNT]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

const char* const kTokens[] = {
    "(", ")", "[", "]", ";", "+", "-", "*", "/", "^", "&", "=", "≠", "<>", "<", ">", "≤", ">=",
    " and ", " or ", " xor ", " not ", "¶", "\"", "\\\"", "\"text\"", "\"\"", "1", "0", ".5", "1e308",
    "-1", "99999999999", "True", "False", "$x", "$$b", "$a", "x", "Let ( x = ", "Let ( [ $a = ",
    "If ( ", "Case ( ", "Choose ( ", "Evaluate ( ", "Length ( ", "Left ( ", "Right ( ", "Middle ( ",
    "Position ( ", "PatternCount ( ", "Substitute ( ", "Upper ( ", "Lower ( ", "Proper ( ", "Trim ( ",
    "Exact ( ", "IsEmpty ( ", "GetAsText ( ", "GetAsNumber ( ", "Int ( ", "Abs ( ", "Round ( ",
    "Truncate ( ", "Mod ( ", "Div ( ", "Min ( ", "Max ( ", "List ( ", "ValueCount ( ", "GetValue ( ",
    "Char ( ", "Code ( ", "Quote ( ", "Filter ( ", "Date ( ", "Time ( ", "Timestamp ( ",
    "Base64Decode ( ", "Base64Encode ( ", "Get ( SystemPlatform )", "Fz_Echo ( ", "Fz_Eval ( ",
    "Fz_Fail", "/*", "*/", "//", "\n", " ", "\xff", "\xc3", "😀",
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [COUNT]\n", argv[0]);
        return 2;
    }
    std::vector<std::string> corpus;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream in(entry.path(), std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (const std::string& input : corpus) run(input);
    long count = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 3000;
    std::mt19937 random(20261211);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (long i = 0; i < count; ++i) {
        std::string input;
        switch (i % 3) {
        case 0: {  // tokens in random order
            std::size_t n = 1 + pick(40);
            for (std::size_t k = 0; k < n; ++k) input += kTokens[pick(std::size(kTokens))];
            break;
        }
        case 1: {  // a corpus entry with bytes changed, inserted or removed
            if (corpus.empty()) break;
            input = corpus[pick(corpus.size())];
            std::size_t edits = 1 + pick(4);
            for (std::size_t k = 0; k < edits && !input.empty(); ++k) {
                std::size_t at = pick(input.size());
                switch (pick(3)) {
                case 0: input[at] = static_cast<char>(pick(256)); break;
                case 1: input.insert(at, kTokens[pick(std::size(kTokens))]); break;
                default: input.erase(at, 1 + pick(4)); break;
                }
            }
            break;
        }
        default: {  // raw bytes
            std::size_t n = pick(64);
            for (std::size_t k = 0; k < n; ++k) input += static_cast<char>(pick(256));
            break;
        }
        }
        run(input);
    }
    std::printf("calc_fuzz_smoke: %zu corpus inputs and %ld generated inputs ran\n", corpus.size(), count);
    return 0;
}
