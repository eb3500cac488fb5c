// InputDialogSession: one run of Brelka_InputDialog from the parameter dictionary to the result
// text. The description is parsed on the main thread, the one dialog controller is presented
// over the key window's root view controller, and the calling thread waits on a semaphore
// until the dialog (or a failure on the way) writes the result and signals it.
//
// Results: "0" closed normally, "-50" invalid description, "2400" a validation pattern that
// cannot be applied, "-5611" the panel does not fit on the screen, "-1" no result written,
// and the refusals below, which never wait.
//
// State is process-wide (class-level) and lives as long as the process. Only one session runs
// at a time; the calling thread is blocked while the main thread works on the dialog, so the
// result needs no lock beyond the semaphore's hand-over.
//
// Thread: createInputDialog on any thread but the main one; everything else on the main thread.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "store/Value.h"
#include "ui/NotificationCenter.h"
#include "ui/Semaphore.h"

namespace brelka {

// Refusals of a session that could never end, and of an overlapping one.
inline constexpr int kCalledOnMainThreadCode = -10;
inline constexpr std::string_view kCalledOnMainThreadMessage =
    "Brelka_InputDialog must not be called on the main thread";
inline constexpr int kNoWindowCode = -11;
inline constexpr std::string_view kNoWindowMessage = "No window to show the dialog on";
inline constexpr int kDialogAlreadyOpenCode = -12;
inline constexpr std::string_view kDialogAlreadyOpenMessage =
    "Another dialog is already open; wait until it is closed";

class InputDialogSession {
public:
    // The plug-in's resource bundle, where the interface file and images are found.
    static const std::optional<std::filesystem::path>& _framework_bundle();
    static ui::Semaphore& _semaphore();
    // The result text of the latest session; "-1" before the first one.
    static std::optional<std::string>& _result();

    // Runs one session and answers its result text; blocks until the dialog is finished.
    // `serveRequests`, when given, is called once the session is sure to run, and what it
    // answers (the calculation bridge's registration) is removed when the session has ended;
    // a refused call never calls it.
    static std::string createInputDialog(
        const Dictionary& parameters,
        const std::function<ui::NotificationCenter::Observer()>& serveRequests = {});
    // Presents the controller in a later turn of the main loop (main thread).
    static void openInputDialog();

    // Ends the running session: writes the result, then signals the waiting caller. Only the
    // first call of a session counts, so the caller is released exactly once. Main thread.
    static void endSession(std::string_view result);
    // Ends the running session with an error code, its message in the store's last-error
    // entries (as texts).
    static void endSessionWithError(int code, std::string_view message);
    // Whether a session waits for its end.
    static bool isRunning();
};

}  // namespace brelka
