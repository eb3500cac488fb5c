#include "parser/InputDialogSession.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <utility>

#include "dialog/InputDialog.h"
#include "host/Bundle.h"
#include "host/Diagnostics.h"
#include "parser/InputDialogParamParser.h"
#include "store/Config.h"
#include "store/Plugin.h"
#include "ui/Application.h"
#include "ui/MainQueue.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

namespace brelka {

namespace {

// Whether a session is between its start and the caller's return, and whether it has been
// ended (its result written and the caller released).
std::atomic<bool> running{false};
std::atomic<bool> ended{false};

// The code of Errors::kWrongParameters as a number.
constexpr int kWrongParametersCode = -50;
static_assert(rawValue(Errors::kWrongParameters) == "-50");

void recordError(int code, std::string_view message) {
    Plugin::setValue(CFG::last_error, Value(std::to_string(code)));
    Plugin::setValue(CFG::last_error_message, Value(std::string(message)));
}

}  // namespace

const std::optional<std::filesystem::path>& InputDialogSession::_framework_bundle() {
    static const auto* bundle = new std::optional<std::filesystem::path>([]() -> std::optional<std::filesystem::path> {
        std::error_code error;
        const std::filesystem::path folder = Bundle::folder();
        if (std::filesystem::is_directory(folder, error)) return folder;
        return std::nullopt;
    }());
    return *bundle;
}

ui::Semaphore& InputDialogSession::_semaphore() {
    // Kept through process exit: a caller may still be waiting on it while statics end.
    static auto* semaphore = new ui::Semaphore(0);
    return *semaphore;
}

std::optional<std::string>& InputDialogSession::_result() {
    static auto* result = new std::optional<std::string>(std::to_string(kNoResultCode));
    return *result;
}

bool InputDialogSession::isRunning() { return running.load() && !ended.load(); }

std::string InputDialogSession::createInputDialog(
    const Dictionary& parameters, const std::function<ui::NotificationCenter::Observer()>& serveRequests) {
    // The parse and the dialog run on the main queue; waiting for them on the main thread
    // would wait for ever.
    if (ui::MainQueue::isMainThread()) {
        Diagnostics::log("InputDialog: refused, called on the main thread");
        recordError(kCalledOnMainThreadCode, kCalledOnMainThreadMessage);
        return std::to_string(kCalledOnMainThreadCode);
    }
    // One controller serves every dialog: a second session would empty the one on screen.
    bool idle = false;
    if (!running.compare_exchange_strong(idle, true)) {
        Diagnostics::log("InputDialog: refused, another dialog is open");
        recordError(kDialogAlreadyOpenCode, kDialogAlreadyOpenMessage);
        return std::to_string(kDialogAlreadyOpenCode);
    }
    ended.store(false);
    ui::NotificationCenter::Observer requests;
    if (serveRequests) requests = serveRequests();

    ui::MainQueue::async([parameters] {
        if (InputDialogParamParser::prepareComponents(parameters)) {
            openInputDialog();
        } else {
            endSessionWithError(kWrongParametersCode, kWrongParametersMessage);
        }
    });

    _semaphore().wait();
    if (!_result().has_value()) _result() = std::to_string(kNoResultCode);
    std::string result = *_result();
    requests.remove();
    running.store(false);
    return result;
}

void InputDialogSession::openInputDialog() {
    // A later turn of the main loop than the parse, as the presentation of a freshly filled
    // controller should be.
    ui::MainQueue::async([] {
        ui::Window* window = ui::Application::shared().keyWindow();
        const std::shared_ptr<ui::ViewController> root = window ? window->rootViewController() : nullptr;
        if (!root) {
            Diagnostics::log("InputDialog: no key window or root view controller to present on");
            endSessionWithError(kNoWindowCode, kNoWindowMessage);
            return;
        }
        const std::shared_ptr<InputDialog>& controller = InputDialogParamParser::_custom_view_controller();
        controller->view().setOpaque(false);
        controller->view().setBackgroundColor(ui::Color::clear());
        controller->setModalPresentationStyle(ui::ModalPresentationStyle::overCurrentContext);
        if (!root->present(controller, false, {})) {
            // The root is not on screen or already presents something: nothing would ever
            // show the dialog, so nothing would end the session either.
            Diagnostics::log("InputDialog: the root view controller refused the presentation");
            endSessionWithError(kNoWindowCode, kNoWindowMessage);
        }
    });
}

void InputDialogSession::endSession(std::string_view result) {
    if (!running.load()) {
        Diagnostics::log("InputDialog: a dialog ended with no session waiting for it");
        return;
    }
    bool open = false;
    if (!ended.compare_exchange_strong(open, true)) {
        Diagnostics::log("InputDialog: the session had already ended; the later end is ignored");
        return;
    }
    _result() = std::string(result);
    _semaphore().signal();
}

void InputDialogSession::endSessionWithError(int code, std::string_view message) {
    if (!isRunning()) {
        endSession(std::to_string(code));
        return;
    }
    recordError(code, message);
    endSession(std::to_string(code));
}

}  // namespace brelka
