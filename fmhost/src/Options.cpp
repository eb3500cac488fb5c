#include "Options.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <ostream>

#include "Action.h"

namespace fmhost {

namespace {

const char* kFooter = R"(A SCRIPT is UTF-8 text with one statement per line; empty lines and lines starting with # are
ignored. A calculation continues over the following lines until its parentheses, brackets and
text literals are balanced. A line starting with @ is a scripted user action for the next
Brelka_InputDialog call:
  @tap "T"  @type "T" "text"  @type #N "text"  @return  @toggle "T"  @select "T" "E"
  @tapOutside  @tapPanel  @wait SECONDS  @snapshot FILE.png  @dump  @alert "B"
A SCRIPT of - is read from standard input.

Screen profiles: ipad (1024x768, tablet), iphone (390x844, phone), or WIDTHxHEIGHT (tablet when
the shorter side is at least 768 points).

Output: one line per calculation with its result (carriage returns as line breaks; an error
prints ? and its message goes to standard error). With --json, one object per line:
  {"calc": "...", "type": "text|number|date|time|timestamp|container|boolean|error", "text": "..."}
and for an error also "error" (the message) and "code" (FileMaker's error code).

Exit status: 0 when every statement ran (an error result still ran); 2 for bad usage, a script
that cannot run (reported with its line) or a plug-in that cannot be loaded or started; 3 when a
scripted user action cannot be carried out or is left over, or when a dialog stays open with no
action and no automatic close left.

Examples:
  fmhost -e 'Brelka_Version ( "long" )'
  fmhost --json -e 'Brelka_Set ( "dialog-position" ; 100 ; 200 )' -e 'Brelka_Get ( "dialog-position" )'
  fmhost --screen iphone examples/demo.fmscript)";

const char* kServeDescription =
    "Runs the calculations and the script as fmhost does, on the real clock, and shows the screen live\n"
    "in a browser page at http://127.0.0.1:PORT/: clicks, typing, Return and the wheel reach the dialog,\n"
    "results appear as the script goes on, and further calculations can be typed on the page. Scripted\n"
    "user actions are skipped: the person at the page is the user. The host stays up after the script\n"
    "until the page is closed or Ctrl-C is pressed; then it shuts the plug-in down and exits with 0,\n"
    "or with 3 when a calculation was still waiting for its dialog (the plug-in cannot be shut down\n"
    "then). Only 127.0.0.1 is served, one page at a time.";

}  // namespace

ParsedOptions parseOptions(int argc, char** argv, std::ostream& out, std::ostream& err) {
    Options options;
    CLI::App app{"Runs FileMaker calculations and scripts with the Brelka plug-in loaded, the way the\n"
                 "host application does: calculations on a calculation thread, the toolkit's run loop\n"
                 "on the main thread, and a scripted user for the dialogs that open.",
                 "fmhost"};
    app.footer(kFooter);
    app.get_formatter()->column_width(22);

    app.add_option("-e,--eval", options.evals, "evaluate one calculation; may be repeated; runs before SCRIPT")
        ->type_name("CALC")
        ->allow_extra_args(false);
    app.add_flag("--json", options.json, "print each result as one JSON object per line");
    app.add_option("--plugin", options.plugin, "the plug-in module to load (default: the one built with fmhost)")
        ->type_name("PATH");
    app.add_option("--screen", options.screenName, "ipad (default) | iphone | WIDTHxHEIGHT")
        ->type_name("PROFILE")
        ->check(
            [](const std::string& text) -> std::string {
                return ui::ScreenProfile::parse(text)
                           ? std::string()
                           : "unknown screen profile '" + text +
                                 "' (use ipad, iphone or WIDTHxHEIGHT in whole points, e.g. 800x600)";
            },
            "");
    app.add_flag("--no-window", options.noWindow, "start without a key window to show a dialog over");
    app.add_option("--snapshot", options.snapshotDir, "write DIR/dialog-N.png each time a dialog is shown")
        ->type_name("DIR");
    app.add_option("--think", options.thinkSeconds,
                   "simulated time the scripted user takes before each action (default 0.5)")
        ->type_name("SECONDS")
        ->check(
            [](const std::string& text) -> std::string {
                try {
                    size_t used = 0;
                    const double v = std::stod(text, &used);
                    if (used == text.size() && std::isfinite(v) && v >= 0 && v <= 3600) return {};
                } catch (const std::exception&) {
                }
                return "--think needs a number of seconds from 0 to 3600, not '" + text + "'";
            },
            "");
    app.add_flag("--log", options.log, "echo the plug-in's diagnostic lines to standard error");
    app.add_option("SCRIPT", options.script, "a script file to run after the -e calculations (- for stdin)")
        ->type_name("");

    // fmhost serve [--port N] [OPTIONS] [SCRIPT]: the same options, parsed after the word.
    if (argc >= 2 && std::string(argv[1]) == "serve") {
        options.serve = true;
        app.name("fmhost serve");
        app.description(kServeDescription);
        app.add_option("--port", options.port, "the port on 127.0.0.1 to serve the page on (default 8808; 0: any free one)")
            ->type_name("N")
            ->check(
                [](const std::string& text) -> std::string {
                    try {
                        size_t used = 0;
                        const int v = std::stoi(text, &used);
                        if (used == text.size() && v >= 0 && v <= 65535) return {};
                    } catch (const std::exception&) {
                    }
                    return "--port needs a port number from 0 to 65535, not '" + text + "'";
                },
                "");
        --argc;
        ++argv;
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return {std::nullopt, 0};
    } catch (const CLI::ParseError& e) {
        err << "fmhost: " << e.what() << "\nRun 'fmhost --help' for usage.\n";
        return {std::nullopt, 2};
    }

    if (options.evals.empty() && !options.script && !options.serve) {
        err << "fmhost: nothing to run: give a calculation with -e or a SCRIPT\nRun 'fmhost --help' for usage.\n";
        return {std::nullopt, 2};
    }
    options.screen = *ui::ScreenProfile::parse(options.screenName);
    return {std::move(options), 0};
}

}  // namespace fmhost
