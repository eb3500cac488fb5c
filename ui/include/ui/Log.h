// The toolkit's diagnostic lines (refused presentations, exceptions escaping main-queue
// work). They go to standard error unless the host installs its own sink. Any thread.
#pragma once

#include <functional>
#include <string_view>

namespace ui {

using LogSink = std::function<void(std::string_view line)>;

void setLogSink(LogSink sink);
void log(std::string_view line);

}  // namespace ui
