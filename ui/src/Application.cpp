#include "ui/Application.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <thread>

#include "ui/Log.h"

extern char** environ;

namespace ui {

namespace {
std::string schemeOf(const std::string& url) {
    const auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0) return {};
    std::string scheme = url.substr(0, colon);
    const bool ok = std::isalpha(static_cast<unsigned char>(scheme[0])) &&
                    std::all_of(scheme.begin(), scheme.end(), [](unsigned char c) {
                        return std::isalnum(c) || c == '+' || c == '-' || c == '.';
                    });
    if (!ok) return {};
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return scheme;
}

// Starts xdg-open with the URL as its only argument (no shell, so nothing in the URL is
// interpreted) and reaps it in the background.
void openOnDesktop(const std::string& url) {
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) {
        log("Application: could not start xdg-open");
        return;
    }
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
}
}  // namespace

Application& Application::shared() {
    static Application app;
    return app;
}

bool Application::openURL(const std::string& url) {
    const std::string scheme = schemeOf(url);
    if (scheme.empty()) return false;
    {
        std::lock_guard lock(mutex_);
        opened_.push_back(url);
    }
    static const char* const desktopSchemes[] = {"http", "https", "mailto", "tel", "file"};
    const bool allowed = std::find(std::begin(desktopSchemes), std::end(desktopSchemes), scheme) !=
                         std::end(desktopSchemes);
    if (desktop_ && allowed) openOnDesktop(url);
    return true;
}

std::vector<std::string> Application::openedURLs() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

void Application::clearOpenedURLs() {
    std::lock_guard lock(mutex_);
    opened_.clear();
}

}  // namespace ui
