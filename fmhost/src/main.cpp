// fmhost: the desktop host program. Parses the command line and the script before anything
// runs, then hands the statements to a Host.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Host.h"
#include "Options.h"
#include "ScriptParser.h"
#include "serve/LiveHost.h"

namespace {

// Scripts are read whole; anything this large is not a script.
constexpr std::uintmax_t kMaxScriptBytes = 256u << 20;

bool readScript(const std::string& path, std::string& text) {
    if (path == "-") {
        std::ostringstream buffer;
        buffer << std::cin.rdbuf();
        text = buffer.str();
        return true;
    }
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        std::cerr << "fmhost: cannot read the script " << path << ": it is a directory\n";
        return false;
    }
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxScriptBytes) {
        std::cerr << "fmhost: the script " << path << " is too large (" << size << " bytes; at most "
                  << kMaxScriptBytes << ")\n";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "fmhost: cannot read the script " << path << ": "
                  << (std::filesystem::exists(path, error) ? "permission denied" : "no such file") << "\n";
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    auto outcome = fmhost::parseOptions(argc, argv, std::cout, std::cerr);
    if (!outcome.options) return outcome.exitStatus;
    fmhost::Options& options = *outcome.options;

    std::vector<fmhost::Statement> statements;
    try {
        for (size_t i = 0; i < options.evals.size(); ++i)
            statements.push_back(fmhost::ScriptParser::parseCalculation(options.evals[i], "-e #" + std::to_string(i + 1)));
        if (options.script) {
            std::string text;
            if (!readScript(*options.script, text)) return 2;
            const std::string name = *options.script == "-" ? "<stdin>" : *options.script;
            auto scriptStatements = fmhost::ScriptParser::parseScript(text, name);
            statements.insert(statements.end(), std::make_move_iterator(scriptStatements.begin()),
                              std::make_move_iterator(scriptStatements.end()));
        }
    } catch (const fmhost::ScriptError& e) {
        std::cerr << "fmhost: " << e.what() << std::endl;
        return 2;
    }

    if (!options.snapshotDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.snapshotDir, error);
        if (error || !std::filesystem::is_directory(options.snapshotDir)) {
            std::cerr << "fmhost: cannot use " << options.snapshotDir << " for snapshots: "
                      << (error ? error.message() : "not a directory") << std::endl;
            return 2;
        }
    }

    if (options.serve) {
        fmhost::LiveHost live(std::move(options), std::cout, std::cerr);
        return live.run(statements);
    }
    fmhost::Host host(std::move(options), std::cout, std::cerr);
    return host.run(statements);
}
