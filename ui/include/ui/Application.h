// The running application: its key window and the opening of URLs. A URL is always
// recorded; it is handed to the desktop's opener (xdg-open) only when the host turned that
// on for interactive use. One per process; main thread only, except openedURLs().
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ui {

class Window;

class Application {
public:
    static Application& shared();

    // The key window, or nullptr (a host may run without one).
    Window* keyWindow() const { return keyWindow_.lock().get(); }
    void setKeyWindow(const std::shared_ptr<Window>& window) { keyWindow_ = window; }

    // Records the URL and, when desktop opening is on and the URL has a scheme the desktop
    // may open (http, https, mailto, tel, file), starts the opener without a shell. Answers
    // whether the URL was accepted (non-empty, with a scheme).
    bool openURL(const std::string& url);
    std::vector<std::string> openedURLs() const;
    void clearOpenedURLs();
    void setOpensURLsOnDesktop(bool on) { desktop_ = on; }

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    Application() = default;
    std::weak_ptr<Window> keyWindow_;
    mutable std::mutex mutex_;
    std::vector<std::string> opened_;
    bool desktop_ = false;
};

}  // namespace ui
