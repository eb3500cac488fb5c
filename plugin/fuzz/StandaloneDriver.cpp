// Runs the parser's fuzz target without libFuzzer, as a test in the normal build: every file
// of the corpus folder given on the command line, then a number of inputs made from the
// corpus by random mutation and of random bytes. The seed is fixed, so a failure repeats.
// Usage: parser_fuzz_smoke CORPUS_DIR [COUNT]
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [COUNT]\n", argv[0]);
        return argc < 2 ? 2 : 0;
    }
    std::vector<std::string> corpus;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream in(entry.path(), std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (const std::string& input : corpus) run(input);
    const long count = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 2000;
    std::mt19937 random(20261211);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (long i = 0; i < count; ++i) {
        std::string input;
        if (i % 2 == 0 && !corpus.empty()) {
            // A corpus entry with bytes changed, inserted or removed.
            input = corpus[pick(corpus.size())];
            const std::size_t edits = 1 + pick(6);
            for (std::size_t k = 0; k < edits && !input.empty(); ++k) {
                const std::size_t at = pick(input.size());
                switch (pick(3)) {
                case 0: input[at] = static_cast<char>(pick(256)); break;
                case 1: input.insert(at, 1 + pick(4), static_cast<char>(pick(256))); break;
                default: input.erase(at, 1 + pick(4)); break;
                }
            }
        } else {
            const std::size_t n = pick(200);
            for (std::size_t k = 0; k < n; ++k) input += static_cast<char>(pick(256));
        }
        run(input);
    }
    std::printf("parser_fuzz_smoke: %zu corpus inputs and %ld generated inputs ran\n", corpus.size(), count);
    return 0;
}
