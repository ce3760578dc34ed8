#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// A JSON text written piece by piece, commas and colons put in as it goes:
//   JsonWriter json;
//   json.beginObject().key("steps").number(21).key("name").string("w.txt").endObject();
// Strings are escaped as JSON wants (quotes, backslashes and every control
// character); bytes that are not UTF-8 are written as the text "\xNN", as
// messages show them, so that the document is always valid UTF-8. Numbers
// are written in their shortest form that reads back the same; one that is
// not finite is written null.
class JsonWriter {
 public:
  JsonWriter& beginObject();
  JsonWriter& endObject();
  JsonWriter& beginArray();
  JsonWriter& endArray();
  // The name of the next member of an object.
  JsonWriter& key(std::string_view name);
  JsonWriter& string(std::string_view text);
  JsonWriter& number(double value);
  JsonWriter& integer(int64_t value);
  JsonWriter& boolean(bool value);
  JsonWriter& null();

  const std::string& text() const { return text_; }
  std::string take() { return std::move(text_); }

 private:
  // Before a value: the comma after the one before it, unless a key came
  // just before.
  void separate();

  std::string text_;
  std::vector<bool> empty_;  // for each open object and array: nothing in it yet
  bool afterKey_ = false;
};

// `text` as a JSON string, quotes included.
std::string jsonString(std::string_view text);
// `value` as a JSON number: its shortest round-trip form ("33", "94.8",
// "1e-07"), or null when it is not finite.
std::string jsonNumber(double value);

}  // namespace cli
