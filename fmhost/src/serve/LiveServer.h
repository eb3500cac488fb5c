// The HTTP side of `fmhost serve`: one page on 127.0.0.1 that shows the screen and takes the
// person's input, built on cpp-httplib.
//
//   GET  /            the page
//   GET  /screen.png  the latest rendered screen
//   GET  /events      Server-Sent Events: hello (the viewer's token), frame, output, status,
//                     ended; a second page at the same time gets refused and nothing else
//   POST /event       a batch of input events (PageEvent), from the viewer only
//   POST /eval        {"calc": "..."}: a further calculation for the running host
//
// Only one page at a time is the viewer: its posts carry the token it got with hello, and a
// post without it is refused, so that two tabs cannot feed one dialog. A request that is not
// the page's own (another host name or origin, a wrong path or content type, an oversized or
// malformed body) gets an HTTP error with a plain-text reason and changes nothing.
//
// Threads: the server runs its own threads; the handlers given here are called on them and
// must hand work to the main thread themselves. publish*() may be called from any thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "serve/PageEvent.h"

namespace httplib {
class Server;
}

namespace fmhost {

// The server cannot start (the port is taken or not allowed).
class ServeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class LiveServer {
public:
    struct Handlers {
        // A checked batch of input events from the viewer.
        std::function<void(std::vector<PageEvent>)> events;
        // A calculation typed on the page: answers an empty text when it was queued, or the
        // reason it was refused (sent back as 400).
        std::function<std::string(const std::string& calc)> evaluate;
    };

    // Largest request body; anything larger is refused with 413.
    static constexpr std::size_t kMaxBody = 1u << 20;
    // Output lines kept for a page that connects later; older ones are dropped.
    static constexpr std::size_t kMaxKeptLines = 5000;

    // `screenWidth` and `screenHeight` in points; the screen is rendered at `scale`.
    LiveServer(Handlers handlers, double screenWidth, double screenHeight, double scale);
    ~LiveServer();
    LiveServer(const LiveServer&) = delete;
    LiveServer& operator=(const LiveServer&) = delete;

    // Binds 127.0.0.1:port (0 picks a free port) and starts serving. Throws ServeError.
    void start(int port);
    int port() const { return port_; }
    // Tells the page the host has ended (status and a message), gives the page a moment to
    // hear it, and stops serving. Safe to call twice.
    void stop(int status = 0, const std::string& message = {});

    // --- from the host (any thread)
    // A new screen; `keyboard` is where the on-screen keyboard covers it, in points, while it
    // is up (the page draws it, as the renderer draws only the views).
    struct Area {
        double x, y, width, height;
    };
    void publishFrame(std::vector<std::uint8_t> png, std::optional<Area> keyboard);
    // A line for the page's log; `stream` is "out", "err", "calc" (a statement starting) or
    // "link" (a URL the dialog asked to open).
    void publishLine(const std::string& stream, const std::string& text);
    void publishStatus(const std::string& text);

    // How long ago the last viewer went away, when one had come and none is there now.
    std::optional<double> secondsSinceViewerLeft() const;

private:
    struct Viewer;
    using Clock = std::chrono::steady_clock;

    void routes();
    // The reason to refuse a request that does not come from this server's own page, or
    // nothing.
    std::optional<std::string> foreignRequest(const std::string& host, const std::string& origin) const;
    // Whether the request carries the current viewer's token.
    bool fromViewer(const std::string& token) const;
    std::string nextMessages(Viewer& viewer, bool& finished);

    Handlers handlers_;
    double width_;
    double height_;
    double scale_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::shared_ptr<const std::vector<std::uint8_t>> frame_;
    std::uint64_t frameVersion_ = 0;
    std::optional<Area> keyboard_;
    std::deque<std::string> lines_;  // SSE-encoded output lines
    std::uint64_t firstLine_ = 0;    // number of the oldest line kept
    std::string status_;
    std::uint64_t statusVersion_ = 0;
    std::optional<std::string> ended_;  // the ended message, once the host ends
    bool stopped_ = false;
    // The viewer: its token while a page is connected.
    std::string viewerToken_;
    std::uint64_t viewerGeneration_ = 0;
    bool viewerConnected_ = false;
    std::optional<Clock::time_point> viewerLeftAt_;
};

}  // namespace fmhost
