#include "JsonWriter.h"

#include <charconv>
#include <cmath>

#include "platform/text/Text.h"

namespace cli {

namespace {

constexpr char kHex[] = "0123456789abcdef";
// As messages show a byte that is not text (platform::text::printable).
constexpr char kByteHex[] = "0123456789ABCDEF";

// Valid UTF-8 text, escaped.
void appendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  out.reserve(text.size() + 2);
  // Each byte that is not part of valid UTF-8 as the text \xNN (its
  // backslash escaped), the rest as it is.
  while (!text.empty()) {
    const auto bad = platform::text::firstInvalidUtf8(text);
    appendEscaped(out, text.substr(0, bad.value_or(text.size())));
    if (!bad) break;
    const auto byte = static_cast<unsigned char>(text[*bad]);
    out += "\\\\x";
    out += kByteHex[byte >> 4];
    out += kByteHex[byte & 0xF];
    text.remove_prefix(*bad + 1);
  }
  return out + "\"";
}

std::string jsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  // -0 is 0 to a reader; written plainly.
  if (value == 0) return "0";
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

void JsonWriter::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (empty_.empty()) return;
  if (!empty_.back()) text_ += ',';
  empty_.back() = false;
}

JsonWriter& JsonWriter::beginObject() {
  separate();
  text_ += '{';
  empty_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::endObject() {
  text_ += '}';
  if (!empty_.empty()) empty_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::beginArray() {
  separate();
  text_ += '[';
  empty_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::endArray() {
  text_ += ']';
  if (!empty_.empty()) empty_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
  separate();
  text_ += jsonString(name);
  text_ += ':';
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::string(std::string_view text) {
  separate();
  text_ += jsonString(text);
  return *this;
}

JsonWriter& JsonWriter::number(double value) {
  separate();
  text_ += jsonNumber(value);
  return *this;
}

JsonWriter& JsonWriter::integer(int64_t value) {
  separate();
  text_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
  separate();
  text_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::null() {
  separate();
  text_ += "null";
  return *this;
}

}  // namespace cli
