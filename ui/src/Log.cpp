#include "ui/Log.h"

#include <iostream>
#include <mutex>
#include <string>

namespace ui {

namespace {
std::mutex& sinkMutex() {
    static std::mutex m;
    return m;
}
LogSink& sink() {
    static LogSink s;
    return s;
}
}  // namespace

void setLogSink(LogSink s) {
    std::lock_guard lock(sinkMutex());
    sink() = std::move(s);
}

void log(std::string_view line) {
    std::lock_guard lock(sinkMutex());
    if (sink()) {
        sink()(line);
    } else {
        std::cerr << "ui: " << line << '\n';
    }
}

}  // namespace ui
