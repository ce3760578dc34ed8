#pragma once

#include <functional>
#include <string_view>

#include "platform/ScopedSetting.h"

// How the chart library reports misuse.
//
// Calling an abstract member stops the program: the data sets say
// "calcMinMax is not implemented in ChartBaseDataSet", the components and
// renderers "renderAxisLabels() cannot be called on AxisRendererBase".
// Recoverable misuse writes one line through the log sink and returns.
namespace chart {

// "<member> is not implemented in <className>", then abort.
[[noreturn]] void notImplemented(std::string_view member, std::string_view className);

// "<member> cannot be called on <className>", then abort.
[[noreturn]] void cannotBeCalled(std::string_view member, std::string_view className);

using LogSink = std::function<void(std::string_view line)>;

// Writes one line of recoverable misuse to the current sink (stderr unless
// replaced). The line carries no newline; the stderr sink adds one.
void log(std::string_view line);

// Installs a sink and returns the previous one; an empty sink restores
// stderr. Views of every thread write to the one sink: install it on the
// main thread before other threads use views, and give it a lock of its own
// if it keeps lines from several threads.
LogSink setLogSink(LogSink sink);
// Another sink (empty: stderr) for one scope.
using ScopedLogSink = platform::ScopedSetting<LogSink, &setLogSink>;

}  // namespace chart
