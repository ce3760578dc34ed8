#include "Chart/Utils/Diagnostics.h"

#include <cstdio>
#include <string>

#include "platform/Fatal.h"

namespace chart {

namespace {

void writeToStderr(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fputc('\n', stderr);
}

LogSink& currentSink() {
  static LogSink sink = writeToStderr;
  return sink;
}

}  // namespace

void notImplemented(std::string_view member, std::string_view className) {
  platform::fatalError(std::string(member) + " is not implemented in " + std::string(className));
}

void cannotBeCalled(std::string_view member, std::string_view className) {
  platform::fatalError(std::string(member) + " cannot be called on " + std::string(className));
}

void log(std::string_view line) { currentSink()(line); }

LogSink setLogSink(LogSink sink) {
  LogSink previous = std::move(currentSink());
  currentSink() = sink ? std::move(sink) : LogSink(writeToStderr);
  return previous;
}

}  // namespace chart
