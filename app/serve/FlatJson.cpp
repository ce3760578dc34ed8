#include "serve/FlatJson.h"

#include <cmath>
#include <cstdint>

#include "platform/text/Text.h"

namespace cli::serve {

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::optional<FlatObject> object(std::string& error) {
    FlatObject result;
    space();
    if (!take('{')) return fail(error, "the body is not a JSON object");
    space();
    if (!take('}')) {
      for (;;) {
        space();
        auto key = string();
        if (!key) return fail(error, "a key is not a JSON string");
        space();
        if (!take(':')) return fail(error, "no ':' after the key \"" + *key + "\"");
        space();
        std::optional<FlatValue> value;
        if (at('"')) {
          auto s = string();
          if (!s) return fail(error, "the value of \"" + *key + "\" is not a whole JSON string of UTF-8 text");
          value = std::move(*s);
        } else if (text_.substr(pos_, 4) == "null") {
          pos_ += 4;
        } else if (auto n = number()) {
          value = *n;
        } else {
          return fail(error, "the value of \"" + *key + "\" is not a number, a string or null");
        }
        if (result.count(*key)) return fail(error, "the key \"" + *key + "\" is given twice");
        if (value) result.emplace(*key, std::move(*value));
        space();
        if (take('}')) break;
        if (!take(',')) return fail(error, "no ',' or '}' after the value of \"" + *key + "\"");
      }
    }
    space();
    if (pos_ != text_.size()) return fail(error, "something follows the object");
    return result;
  }

 private:
  static std::nullopt_t fail(std::string& error, std::string why) {
    error = std::move(why);
    return std::nullopt;
  }
  bool at(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
  bool take(char c) {
    if (!at(c)) return false;
    ++pos_;
    return true;
  }
  void space() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' ||
                                   text_[pos_] == '\r'))
      ++pos_;
  }

  std::optional<std::string> string() {
    if (!take('"')) return std::nullopt;
    std::string out;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') {
        if (!platform::text::isValidUtf8(out)) return std::nullopt;
        return out;
      }
      if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) return std::nullopt;
      const char e = text_[pos_++];
      switch (e) {
        case '"': case '\\': case '/': out += e; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          auto unit = hex4();
          if (!unit) return std::nullopt;
          uint32_t code = *unit;
          if (code >= 0xD800 && code < 0xDC00) {  // a pair's first half: its second must follow
            if (text_.substr(pos_, 2) != "\\u") return std::nullopt;
            pos_ += 2;
            auto low = hex4();
            if (!low || *low < 0xDC00 || *low >= 0xE000) return std::nullopt;
            code = 0x10000 + ((code - 0xD800) << 10) + (*low - 0xDC00);
          } else if (code >= 0xDC00 && code < 0xE000) {
            return std::nullopt;
          }
          appendUtf8(out, code);
          break;
        }
        default: return std::nullopt;
      }
    }
    return std::nullopt;
  }

  std::optional<uint32_t> hex4() {
    if (text_.size() - pos_ < 4) return std::nullopt;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      v <<= 4;
      if (c >= '0' && c <= '9') v |= c - '0';
      else if (c >= 'a' && c <= 'f') v |= c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') v |= c - 'A' + 10;
      else return std::nullopt;
    }
    return v;
  }

  static void appendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  // JSON's grammar for a number (no leading zeros, no "+", no "NaN"), read
  // in the C locale; one too large for a double is refused.
  std::optional<double> number() {
    const size_t start = pos_;
    take('-');
    if (take('0')) {
    } else if (digits() == 0) {
      return std::nullopt;
    }
    if (take('.') && digits() == 0) return std::nullopt;
    if (at('e') || at('E')) {
      ++pos_;
      if (!take('+')) take('-');
      if (digits() == 0) return std::nullopt;
    }
    auto value = platform::text::parseDouble(text_.substr(start, pos_ - start));
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
  }
  size_t digits() {
    size_t n = 0;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_, ++n;
    return n;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

std::optional<FlatObject> parseFlatObject(std::string_view text, std::string& error) {
  return Parser(text).object(error);
}

std::string jsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  while (!text.empty()) {
    const auto bad = platform::text::firstInvalidUtf8(text);
    for (const char ch : text.substr(0, bad.value_or(text.size()))) {
      const auto c = static_cast<unsigned char>(ch);
      if (c == '"' || c == '\\') {
        out += '\\';
        out += ch;
      } else if (c == '\n') {
        out += "\\n";
      } else if (c < 0x20 || c == 0x7F) {
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 15];
      } else {
        out += ch;
      }
    }
    if (!bad) break;
    out += "\\ufffd";
    text.remove_prefix(*bad + 1);
  }
  return out + "\"";
}

}  // namespace cli::serve
