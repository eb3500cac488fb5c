#include "Host.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <thread>

#include "Evaluation.h"
#include "PluginModule.h"
#include "ResultWriter.h"
#include "ScriptedUser.h"
#include "calc/Engine.h"
#include "fmx/Engine.h"
#include "ui/RunLoop.h"
#include "ui/Screen.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace fmhost {

void Host::reportLeftOver(const std::vector<ActionQueue::Entry>& leftOver, const std::string& when) {
    err_ << "fmhost: " << leftOver.size() << " user action" << (leftOver.size() == 1 ? " was" : "s were")
         << " left over " << when << ":";
    for (const auto& entry : leftOver) err_ << "\n  " << entry.origin << ": " << entry.action.source();
    err_ << std::endl;
}

Host::Host(Options options, std::ostream& out, std::ostream& err)
    : options_(std::move(options)), out_(out), err_(err) {}

int Host::run(const std::vector<Statement>& statements) {
    // Scripted runs use simulated time: a dialog's automatic close happens without waiting.
    ui::RunLoop& loop = ui::RunLoop::main();
    loop.adoptCurrentThreadAsMain();
    loop.useVirtualClock();
    ui::Screen::main().setProfile(options_.screen);
    // The application's window that dialogs are shown over; --no-window leaves it out.
    std::shared_ptr<ui::Window> window;
    if (!options_.noWindow) {
        window = std::make_shared<ui::Window>(ui::Screen::main().bounds());
        window->setRootViewController(std::make_shared<ui::ViewController>());
        window->makeKeyAndVisible();
    }
    // The plug-in reads this when it is loaded to decide where its diagnostic lines go.
    if (options_.log) ::setenv("BRELKA_LOG_STDERR", "1", 1);

    calc::Engine engine;
    EngineInstallation installation(engine);

    const std::unique_ptr<PluginModule> plugin = PluginModule::start(options_.plugin, err_);
    if (!plugin) return 2;
    // What the host reads of every plug-in it starts: its name, its about text and its
    // configuration (the plug-in's identifier and option flags).
    const std::string name = plugin->getString(fmx::kStrName);
    const std::string about = plugin->getString(fmx::kStrAbout);
    const std::string configuration = plugin->getString(fmx::kStrConfig);
    if (options_.log)
        err_ << "fmhost: started " << (name.empty() ? "a plug-in without a name" : name) << " (" << configuration
             << ") from " << plugin->path() << "\nfmhost: about: " << about << std::endl;
    plugin->idle();

    std::atomic<bool> finished{false};
    std::atomic<int> status{0};
    ResultWriter writer(out_, err_, options_.json);
    ScriptedUser user(window.get(), {options_.thinkSeconds, options_.snapshotDir}, actions_, out_, err_);
    calc::Run run;

    std::thread calculationThread([&] {
        for (const Statement& statement : statements) {
            if (statement.isAction()) {
                actions_.push({statement.origin, *statement.action});
                continue;
            }
            const int shownBefore = user.dialogsShown();
            const calc::Result result = evaluateSafely(engine, statement.calculation, run);
            writer.write(statement.origin, statement.source, result);
            // Queued actions belong to the next dialog; once it has come and gone, what is left
            // of them could never be carried out.
            auto leftOver = user.takeLeftOver();
            if (user.dialogsShown() > shownBefore) {
                auto rest = actions_.drain();
                leftOver.insert(leftOver.end(), std::make_move_iterator(rest.begin()),
                                std::make_move_iterator(rest.end()));
            }
            if (!leftOver.empty()) {
                reportLeftOver(leftOver, "after the dialog of " + statement.origin + " closed");
                status = 3;
                break;
            }
            // Between calculations the host is idle, and says so to the plug-in.
            loop.post([&plugin] { plugin->idle(); });
        }
        finished = true;
        loop.post([] {});
    });
    const int userStatus = user.run(finished);
    if (userStatus != 0 && !finished.load()) {
        // The calculation thread waits for a dialog that will never close: end here rather
        // than hang. The plug-in is not shut down, as one of its calls is still running.
        out_.flush();
        err_.flush();
        std::fflush(nullptr);
        std::_Exit(userStatus);
    }
    calculationThread.join();
    loop.runUntilIdle();
    if (userStatus != 0) status = userStatus;
    if (status == 0 && !actions_.empty()) {
        reportLeftOver(actions_.drain(), "with no dialog to act on");
        status = 3;
    }
    plugin->shutdown();
    return status;
}

}  // namespace fmhost
