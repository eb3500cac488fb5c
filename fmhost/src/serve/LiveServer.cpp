#include "serve/LiveServer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include <sys/socket.h>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "serve/LivePage.h"

namespace fmhost {

namespace {

using nlohmann::json;

// Texts from the plug-in may hold anything; ill-formed UTF-8 is replaced, not fatal.
std::string dump(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

std::string sseEvent(const char* name, const json& data) {
    return std::string("event: ") + name + "\ndata: " + dump(data) + "\n\n";
}

std::string randomToken() {
    std::random_device device;
    std::string token;
    static const char* hex = "0123456789abcdef";
    for (int i = 0; i < 32; ++i) token += hex[device() % 16];
    return token;
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), s.begin());
}

void plain(httplib::Response& res, int status, const std::string& text) {
    res.status = status;
    res.set_content(text + "\n", "text/plain; charset=utf-8");
}

bool jsonBody(const httplib::Request& req, httplib::Response& res) {
    if (startsWith(req.get_header_value("Content-Type"), "application/json")) return true;
    plain(res, 415, "the body must be JSON (Content-Type: application/json)");
    return false;
}

constexpr const char* kViewerHeader = "X-Brelka-Viewer";
constexpr auto kHeartbeat = std::chrono::milliseconds(500);

}  // namespace

// One connected /events stream: what it has already been sent.
struct LiveServer::Viewer {
    bool refused = false;
    std::string token;
    std::uint64_t generation = 0;
    bool helloSent = false;
    std::uint64_t frame = 0;
    std::uint64_t line = 0;
    std::uint64_t status = 0;
};

LiveServer::LiveServer(Handlers handlers, double screenWidth, double screenHeight, double scale)
    : handlers_(std::move(handlers)),
      width_(screenWidth),
      height_(screenHeight),
      scale_(scale),
      server_(std::make_unique<httplib::Server>()) {
    routes();
}

LiveServer::~LiveServer() { stop(); }

void LiveServer::start(int port) {
    if (port == 0) {
        port_ = server_->bind_to_any_port("127.0.0.1");
        if (port_ <= 0) throw ServeError(std::string("cannot listen on 127.0.0.1: ") + std::strerror(errno));
    } else {
        if (!server_->bind_to_port("127.0.0.1", port)) {
            const int error = errno;
            throw ServeError("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
                             (error == EADDRINUSE ? std::string("the port is in use (choose another with --port)")
                                                  : std::string(std::strerror(error))));
        }
        port_ = port;
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
}

void LiveServer::stop(int status, const std::string& message) {
    std::unique_lock lock(mutex_);
    if (stopped_) return;
    if (!ended_) ended_ = sseEvent("ended", {{"status", status}, {"message", message}});
    changed_.notify_all();
    // A connected page gets a moment to hear that the host has ended.
    changed_.wait_for(lock, std::chrono::seconds(1), [this] { return !viewerConnected_; });
    stopped_ = true;
    changed_.notify_all();
    lock.unlock();
    if (thread_.joinable()) {
        server_->stop();
        thread_.join();
    }
}

void LiveServer::publishFrame(std::vector<std::uint8_t> png, std::optional<Area> keyboard) {
    std::lock_guard lock(mutex_);
    frame_ = std::make_shared<const std::vector<std::uint8_t>>(std::move(png));
    keyboard_ = keyboard;
    ++frameVersion_;
    changed_.notify_all();
}

void LiveServer::publishLine(const std::string& stream, const std::string& text) {
    std::lock_guard lock(mutex_);
    lines_.push_back(sseEvent("output", {{"stream", stream}, {"text", text}}));
    while (lines_.size() > kMaxKeptLines) {
        lines_.pop_front();
        ++firstLine_;
    }
    changed_.notify_all();
}

void LiveServer::publishStatus(const std::string& text) {
    std::lock_guard lock(mutex_);
    if (text == status_) return;
    status_ = text;
    ++statusVersion_;
    changed_.notify_all();
}

std::optional<double> LiveServer::secondsSinceViewerLeft() const {
    std::lock_guard lock(mutex_);
    if (viewerConnected_ || !viewerLeftAt_) return std::nullopt;
    return std::chrono::duration<double>(Clock::now() - *viewerLeftAt_).count();
}

std::optional<std::string> LiveServer::foreignRequest(const std::string& host, const std::string& origin) const {
    const std::string port = std::to_string(port_);
    // A page of another site that got its name pointed at 127.0.0.1 still sends its own name.
    if (!host.empty() && host != "127.0.0.1:" + port && host != "localhost:" + port)
        return "this server answers only requests for 127.0.0.1:" + port;
    if (!origin.empty() && origin != "http://127.0.0.1:" + port && origin != "http://localhost:" + port)
        return "requests from other sites' pages are refused";
    return std::nullopt;
}

bool LiveServer::fromViewer(const std::string& token) const {
    std::lock_guard lock(mutex_);
    return viewerConnected_ && !token.empty() && token == viewerToken_;
}

std::string LiveServer::nextMessages(Viewer& viewer, bool& finished) {
    std::unique_lock lock(mutex_);
    std::string out;
    if (viewer.refused) {
        finished = true;
        return sseEvent("refused", {{"message", "another page already shows this session; close it, or close "
                                                "this one and keep using the other"}});
    }
    const auto lineEnd = [this] { return firstLine_ + lines_.size(); };
    if (!viewer.helloSent) {
        viewer.helloSent = true;
        out += sseEvent("hello", {{"viewer", viewer.token}, {"screen", {width_, height_}}, {"scale", scale_}});
    } else {
        changed_.wait_for(lock, kHeartbeat, [&] {
            return stopped_ || ended_ || viewer.frame != frameVersion_ || viewer.line != lineEnd() ||
                   viewer.status != statusVersion_;
        });
    }
    if (viewer.line < firstLine_) {
        out += sseEvent("output", {{"stream", "err"},
                                   {"text", "(" + std::to_string(firstLine_ - viewer.line) + " earlier lines dropped)"}});
        viewer.line = firstLine_;
    }
    for (; viewer.line < lineEnd(); ++viewer.line) out += lines_[viewer.line - firstLine_];
    if (viewer.status != statusVersion_) {
        viewer.status = statusVersion_;
        out += sseEvent("status", {{"text", status_}});
    }
    if (viewer.frame != frameVersion_ && frame_) {
        viewer.frame = frameVersion_;
        json frame = {{"version", frameVersion_}, {"keyboard", nullptr}};
        if (keyboard_) frame["keyboard"] = {keyboard_->x, keyboard_->y, keyboard_->width, keyboard_->height};
        out += sseEvent("frame", frame);
    }
    if (ended_ || stopped_) {
        if (ended_) out += *ended_;
        finished = true;
    }
    // A comment keeps the stream alive and shows soon when the page has gone away.
    if (out.empty()) out = ": ping\n\n";
    return out;
}

void LiveServer::routes() {
    httplib::Server& server = *server_;
    server.set_payload_max_length(kMaxBody);
    // The library's default lets a second process bind the same port and take half of the
    // page's requests; address reuse alone still lets the host restart right after a run.
    server.set_socket_options([](int sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });

    server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (auto reason = foreignRequest(req.get_header_value("Host"), req.get_header_value("Origin"))) {
            plain(res, 403, *reason);
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // Errors the library answers by itself get a reason a person can read.
    server.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request& req,
                                                                    httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        if (res.status == 404)
            plain(res, 404, req.method + " " + req.path +
                                " is not part of the live preview (it serves GET /, /screen.png, /events and "
                                "POST /event, /eval)");
        else if (res.status == 413)
            plain(res, 413, "the request body is larger than " + std::to_string(kMaxBody) + " bytes");
        else
            plain(res, res.status, "the request could not be handled (HTTP " + std::to_string(res.status) + ")");
        return httplib::Server::HandlerResponse::Handled;
    }));
    server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr error) {
        std::string what = "unknown error";
        try {
            if (error) std::rethrow_exception(error);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        plain(res, 500, "internal error: " + what);
    });

    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
        const std::string_view page = livePage();
        res.set_header("Cache-Control", "no-store");
        res.set_content(page.data(), page.size(), "text/html; charset=utf-8");
    });

    server.Get("/screen.png", [this](const httplib::Request&, httplib::Response& res) {
        std::shared_ptr<const std::vector<std::uint8_t>> frame;
        {
            std::lock_guard lock(mutex_);
            frame = frame_;
        }
        if (!frame) {
            plain(res, 503, "the screen has not been drawn yet");
            return;
        }
        res.set_header("Cache-Control", "no-store");
        res.set_content_provider(frame->size(), "image/png",
                                 [frame](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                     return sink.write(reinterpret_cast<const char*>(frame->data()) + offset, length);
                                 });
    });

    server.Get("/events", [this](const httplib::Request&, httplib::Response& res) {
        auto viewer = std::make_shared<Viewer>();
        {
            std::lock_guard lock(mutex_);
            if (viewerConnected_ || stopped_) {
                viewer->refused = true;
            } else {
                viewerConnected_ = true;
                viewerLeftAt_.reset();
                viewerToken_ = randomToken();
                viewer->token = viewerToken_;
                viewer->generation = ++viewerGeneration_;
            }
        }
        res.set_header("Cache-Control", "no-store");
        res.set_chunked_content_provider(
            "text/event-stream",
            [this, viewer](std::size_t, httplib::DataSink& sink) {
                bool finished = false;
                const std::string messages = nextMessages(*viewer, finished);
                if (!sink.write(messages.data(), messages.size())) return false;
                if (finished) sink.done();
                return true;
            },
            [this, viewer](bool) {
                if (viewer->refused) return;
                std::lock_guard lock(mutex_);
                if (viewerConnected_ && viewerGeneration_ == viewer->generation) {
                    viewerConnected_ = false;
                    viewerToken_.clear();
                    viewerLeftAt_ = Clock::now();
                    changed_.notify_all();
                }
            });
    });

    server.Post("/event", [this](const httplib::Request& req, httplib::Response& res) {
        if (!jsonBody(req, res)) return;
        std::vector<PageEvent> events;
        try {
            events = PageEvent::parseBatch(req.body);
        } catch (const PageEventError& e) {
            plain(res, 400, std::string("malformed events: ") + e.what());
            return;
        }
        if (!fromViewer(req.get_header_value(kViewerHeader))) {
            plain(res, 409, "this page does not hold the session (another tab does, or it has ended)");
            return;
        }
        if (!events.empty()) handlers_.events(std::move(events));
        res.status = 204;
    });

    server.Post("/eval", [this](const httplib::Request& req, httplib::Response& res) {
        if (!jsonBody(req, res)) return;
        const json body = json::parse(req.body, nullptr, false);
        if (body.is_discarded() || !body.is_object() || !body.contains("calc") || !body["calc"].is_string()) {
            plain(res, 400, "the body must be {\"calc\": \"...\"}");
            return;
        }
        if (!fromViewer(req.get_header_value(kViewerHeader))) {
            plain(res, 409, "this page does not hold the session (another tab does, or it has ended)");
            return;
        }
        const std::string refused = handlers_.evaluate(body["calc"].get<std::string>());
        if (!refused.empty()) {
            plain(res, 400, refused);
            return;
        }
        plain(res, 202, "queued");
    });
}

}  // namespace fmhost
