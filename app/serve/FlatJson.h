#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace cli::serve {

// The small request bodies the page sends are flat JSON objects of numbers
// and strings ({"smoothing": 40, "notes": "Pt/Pd"}): one value a key, no
// arrays or nested objects, null taken as "not given". Anything else is
// refused with a reason, never half read.
using FlatValue = std::variant<double, std::string>;
using FlatObject = std::map<std::string, FlatValue>;

// The object in `text`, or nothing with `error` saying why (a repeated key,
// a nested value, a number that is not finite, text that is not UTF-8, bytes
// after the object ...).
std::optional<FlatObject> parseFlatObject(std::string_view text, std::string& error);

// `text` as a JSON string, quotes included: quotes, backslashes and control
// characters escaped, every byte that is not part of UTF-8 text as U+FFFD.
std::string jsonString(std::string_view text);

}  // namespace cli::serve
