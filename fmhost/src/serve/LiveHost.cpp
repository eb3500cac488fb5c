#include "serve/LiveHost.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <sstream>
#include <thread>

#include "Evaluation.h"
#include "PluginModule.h"
#include "ResultWriter.h"
#include "ScriptParser.h"
#include "calc/Engine.h"
#include "fmx/Engine.h"
#include "serve/CalculationQueue.h"
#include "serve/InterruptWatcher.h"
#include "serve/LiveServer.h"
#include "ui/Application.h"
#include "ui/Keyboard.h"
#include "ui/MainQueue.h"
#include "ui/Renderer.h"
#include "ui/RunLoop.h"
#include "ui/Screen.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace fmhost {

namespace {

// The page is sent at most this many pictures a second.
constexpr double kFrameInterval = 1.0 / 30;
// Longest calculation the page may send.
constexpr std::size_t kMaxPageCalculation = 64 * 1024;
// How long a calculation still running at the end gets to finish before the host gives up on
// shutting the plug-in down.
constexpr double kFinishGrace = 2;

// Everything the run says goes both to the terminal, as a scripted run says it, and to the
// page's log. Any thread; lines are never interleaved.
class Output {
public:
    Output(std::ostream& out, std::ostream& err, bool json) : out_(out), err_(err), json_(json) {}

    void attach(LiveServer* server) {
        std::lock_guard lock(mutex_);
        server_ = server;
    }

    void starting(const Statement& statement) {
        std::lock_guard lock(mutex_);
        if (server_) server_->publishLine("calc", statement.origin + ": " + statement.source);
    }

    void result(const Statement& statement, const calc::Result& result) {
        std::ostringstream out, err;
        ResultWriter(out, err, json_).write(statement.origin, statement.source, result);
        std::lock_guard lock(mutex_);
        out_ << out.str() << std::flush;
        err_ << err.str() << std::flush;
        publishLines("out", out.str());
        publishLines("err", err.str());
    }

    void message(const std::string& text, const char* stream = "err") {
        std::lock_guard lock(mutex_);
        err_ << "fmhost: " << text << std::endl;
        if (server_) server_->publishLine(stream, text);
    }

private:
    void publishLines(const char* stream, const std::string& text) {
        if (!server_) return;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) server_->publishLine(stream, line);
    }

    std::mutex mutex_;
    std::ostream& out_;
    std::ostream& err_;
    bool json_;
    LiveServer* server_ = nullptr;
};

// What the calculation thread is doing, for the page's status line and for the ending.
class Progress {
public:
    explicit Progress(std::size_t scriptStatements) : scriptLeft_(scriptStatements) {}

    void begin(const std::string& origin) {
        std::lock_guard lock(mutex_);
        running_ = origin;
    }
    void end() {
        std::lock_guard lock(mutex_);
        running_.clear();
        if (scriptLeft_ > 0) --scriptLeft_;
    }
    // The origin of the calculation running now, or empty.
    std::string running() const {
        std::lock_guard lock(mutex_);
        return running_;
    }
    bool scriptDone() const {
        std::lock_guard lock(mutex_);
        return scriptLeft_ == 0;
    }

private:
    mutable std::mutex mutex_;
    std::string running_;
    std::size_t scriptLeft_;
};

// Hands one event of the page to the toolkit, as the device would deliver it. Main thread.
void deliver(ui::Window* window, const PageEvent& event) {
    const ui::Point at(event.x, event.y);
    switch (event.kind) {
    case PageEvent::Kind::touchBegan:
        if (window) window->sendTouch(ui::TouchPhase::began, at);
        break;
    case PageEvent::Kind::touchMoved:
        if (window) window->sendTouch(ui::TouchPhase::moved, at);
        break;
    case PageEvent::Kind::touchEnded:
        if (window) window->sendTouch(ui::TouchPhase::ended, at);
        break;
    case PageEvent::Kind::touchCancelled:
        if (window) window->sendTouch(ui::TouchPhase::cancelled, at);
        break;
    case PageEvent::Kind::scroll:
        if (window) window->sendScroll(at, event.dx, event.dy);
        break;
    case PageEvent::Kind::text:
        ui::Keyboard::shared().type(event.text);
        break;
    case PageEvent::Kind::backspace:
        ui::Keyboard::shared().deleteBackward();
        break;
    case PageEvent::Kind::returnKey:
        ui::Keyboard::shared().pressReturn();
        break;
    }
}

}  // namespace

LiveHost::LiveHost(Options options, std::ostream& out, std::ostream& err)
    : options_(std::move(options)), out_(out), err_(err) {}

int LiveHost::run(const std::vector<Statement>& statements) {
    // A page that goes away mid-answer must not end the process.
    std::signal(SIGPIPE, SIG_IGN);
    ui::RunLoop& loop = ui::RunLoop::main();
    // Before any other thread starts, so that all of them leave the signals to the watcher.
    InterruptWatcher interrupts([&loop](int) { loop.post([] {}); });

    loop.adoptCurrentThreadAsMain();
    loop.useRealClock();
    ui::Screen::main().setProfile(options_.screen);
    const ui::Rect screen = ui::Screen::main().bounds();
    std::shared_ptr<ui::Window> window;
    if (!options_.noWindow) {
        window = std::make_shared<ui::Window>(screen);
        window->setRootViewController(std::make_shared<ui::ViewController>());
        window->makeKeyAndVisible();
    }
    // Without a window the page shows an empty screen.
    auto blank = std::make_shared<ui::View>(screen);
    blank->setBackgroundColor(ui::Color::black());
    if (options_.log) ::setenv("BRELKA_LOG_STDERR", "1", 1);

    calc::Engine engine;
    EngineInstallation installation(engine);
    const std::unique_ptr<PluginModule> plugin = PluginModule::start(options_.plugin, err_);
    if (!plugin) return 2;
    if (options_.log)
        err_ << "fmhost: started " << plugin->getString(fmx::kStrName) << " ("
             << plugin->getString(fmx::kStrConfig) << ") from " << plugin->path() << std::endl;
    plugin->idle();

    Output output(out_, err_, options_.json);
    CalculationQueue queue;
    std::size_t scriptStatements = 0;
    std::vector<const Statement*> skipped;
    for (const Statement& statement : statements) {
        if (statement.isAction()) {
            skipped.push_back(&statement);
            continue;
        }
        queue.push(statement);
        ++scriptStatements;
    }
    Progress progress(scriptStatements);

    std::weak_ptr<ui::Window> weakWindow = window;
    std::atomic<int> pageCalculations{0};
    LiveServer::Handlers handlers;
    handlers.events = [weakWindow](std::vector<PageEvent> events) {
        ui::MainQueue::async([weakWindow, events = std::move(events)] {
            const auto target = weakWindow.lock();
            for (const PageEvent& event : events) deliver(target.get(), event);
        });
    };
    handlers.evaluate = [&queue, &pageCalculations](const std::string& text) -> std::string {
        if (text.size() > kMaxPageCalculation)
            return "the calculation is longer than " + std::to_string(kMaxPageCalculation) + " bytes";
        std::vector<Statement> parsed;
        try {
            parsed = ScriptParser::parseScript(text, "page #" + std::to_string(pageCalculations + 1));
        } catch (const ScriptError& e) {
            return e.what();
        }
        if (parsed.empty()) return "there is no calculation to evaluate";
        for (const Statement& statement : parsed)
            if (statement.isAction())
                return "user actions (" + statement.source + ") are for scripted runs; on this page you are the user";
        ++pageCalculations;
        for (Statement& statement : parsed)
            if (!queue.push(std::move(statement))) return "the host is ending";
        return {};
    };
    LiveServer server(std::move(handlers), screen.width(), screen.height(), kScale);
    try {
        server.start(options_.port);
    } catch (const ServeError& e) {
        err_ << "fmhost: " << e.what() << std::endl;
        plugin->shutdown();
        return 2;
    }
    output.attach(&server);
    err_ << "fmhost: live preview at http://127.0.0.1:" << server.port()
         << "/ ; open it in a browser. Close the page or press Ctrl-C to end." << std::endl;
    if (!skipped.empty())
        output.message(std::to_string(skipped.size()) + " scripted user action" +
                       (skipped.size() == 1 ? " is" : "s are") + " skipped (the first at " + skipped.front()->origin +
                       "): in the live preview the person at the page is the user");

    calc::Run run;
    std::thread calculationThread([&] {
        while (auto statement = queue.take()) {
            progress.begin(statement->origin);
            output.starting(*statement);
            const calc::Result result = evaluateSafely(engine, statement->calculation, run);
            output.result(*statement, result);
            progress.end();
            loop.post([&plugin] { plugin->idle(); });
        }
    });

    // The main thread: the toolkit's work, the page's input, and the pictures of the screen.
    ui::View& root = window ? static_cast<ui::View&>(*window) : *blank;
    std::vector<std::uint8_t> shown;
    double lastRender = -kFrameInterval;
    bool dirty = true;
    bool renderFailed = false;
    ui::ViewController* presented = nullptr;
    int dialogs = 0;
    std::size_t urlsSeen = 0;
    std::string ending;
    while (true) {
        if (interrupts.received()) {
            ending = "interrupted";
            break;
        }
        if (const auto gone = server.secondsSinceViewerLeft(); gone && *gone >= kReconnectGrace) {
            ending = "the page was closed";
            break;
        }
        const double sinceRender = loop.now() - lastRender;
        loop.waitForWork(dirty ? std::max(0.0, kFrameInterval - sinceRender) : 0.1);
        if (loop.runUntilIdle() > 0) dirty = true;

        // A dialog that has just been presented: snapshot it once its transition is over.
        ui::ViewController* nowPresented =
            window && window->rootViewController() ? window->rootViewController()->presentedViewController() : nullptr;
        if (nowPresented && nowPresented != presented && !options_.snapshotDir.empty()) {
            const auto file = std::filesystem::path(options_.snapshotDir) / ("dialog-" + std::to_string(++dialogs) + ".png");
            loop.postAfter(ui::ViewController::kTransitionDuration, [&root, &output, file] {
                try {
                    ui::Renderer::writePng(root, file);
                } catch (const std::exception& e) {
                    output.message("cannot write the snapshot " + file.string() + ": " + e.what());
                }
            });
        }
        presented = nowPresented;

        // The device would open these; here the person gets them as links on the page.
        const auto urls = ui::Application::shared().openedURLs();
        for (; urlsSeen < urls.size(); ++urlsSeen) output.message("the dialog opened " + urls[urlsSeen], "link");

        const std::string running = progress.running();
        if (!running.empty())
            server.publishStatus(presented ? "A dialog is waiting for you (" + running + ")" : "Running " + running);
        else if (progress.scriptDone() && queue.size() == 0)
            server.publishStatus("Ready: the script has run. Evaluate a calculation below, or close the page to end.");

        if (dirty && loop.now() - lastRender >= kFrameInterval) {
            dirty = false;
            lastRender = loop.now();
            try {
                std::vector<std::uint8_t> png = ui::Renderer::renderPng(root, kScale);
                if (png != shown) {
                    shown = png;
                    std::optional<LiveServer::Area> keyboard;
                    if (auto frame = ui::Keyboard::shared().frame())
                        keyboard = LiveServer::Area{frame->x(), frame->y(), frame->width(), frame->height()};
                    server.publishFrame(std::move(png), keyboard);
                }
            } catch (const ui::RenderError& e) {
                if (!renderFailed) output.message(std::string("cannot draw the screen: ") + e.what());
                renderFailed = true;
            }
        }
    }

    output.message(ending + "; ending");
    if (const std::size_t dropped = queue.close())
        output.message(std::to_string(dropped) + " calculation" + (dropped == 1 ? " was" : "s were") +
                       " still waiting and did not run");
    // A quick calculation may finish; one that waits for a dialog will not.
    const double deadline = loop.now() + kFinishGrace;
    while (!progress.running().empty() && loop.now() < deadline) {
        loop.waitForWork(0.05);
        loop.runUntilIdle();
    }
    if (const std::string running = progress.running(); !running.empty()) {
        const std::string message = running + (presented ? " was still waiting for its dialog" : " was still running") +
                                    "; the plug-in was not shut down";
        output.message(message);
        server.stop(3, message);
        out_.flush();
        err_.flush();
        std::fflush(nullptr);
        std::_Exit(3);
    }
    calculationThread.join();
    loop.runUntilIdle();
    plugin->shutdown();
    output.message("the plug-in was shut down");
    server.stop(0, "The host has ended (" + ending + ").");
    loop.runUntilIdle();
    return 0;
}

}  // namespace fmhost
