#include "linearization/readers/PlainTableFile.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "linearization/WedgeLayout.h"
#include "linearization/readers/DensityMeasurementFile.h"
#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

namespace {

// What a field that is not a number reads as: L* as in a CGATS file; a* and
// b* 0.
constexpr double kDefaultL = 1.0;

// A field without the white space, line end and quotes around it.
std::string_view unquoted(std::string_view field) {
  field = text::trimWhitespaceAndNewlinesView(field);
  if (field.size() >= 2 && (field.front() == '"' || field.front() == '\'') && field.back() == field.front())
    field = text::trimWhitespaceAndNewlinesView(field.substr(1, field.size() - 2));
  return field;
}

bool isBlankOrQuote(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '\''; }

// True when the field holds nothing but blanks and quotes.
bool holdsNothing(std::string_view field) { return std::all_of(field.begin(), field.end(), isBlankOrQuote); }

// Calls fn(field, k) for field k of `line` separated by `separator`, in
// order, for as long as fn returns true. A header of millions of fields is
// looked through in a single pass over its bytes.
template <class Fn>
void forEachField(std::string_view line, char separator, Fn&& fn) {
  std::size_t start = 0, k = 0;
  for (std::size_t at = 0; at <= line.size(); ++at) {
    if (at < line.size() && line[at] != separator) continue;
    if (!fn(line.substr(start, at - start), k++)) return;
    start = at + 1;
  }
}

enum class Column { L, a, b, density, input, gray };

// A name of at most 7 bytes, lower case, as one number: a header of
// millions of fields is looked through in well under a second.
constexpr std::size_t kLongestName = 7;
constexpr uint64_t keyOf(std::string_view name) {
  uint64_t key = name.size();
  for (const char c : name)
    key = key << 8 | static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return key;
}

// The names a header may give its columns.
constexpr std::pair<uint64_t, Column> kNames[] = {
    {keyOf("L*"), Column::L},          {keyOf("L"), Column::L},          {keyOf("LAB_L"), Column::L},
    {keyOf("LAB-L"), Column::L},       {keyOf("LabL"), Column::L},       {keyOf("a*"), Column::a},
    {keyOf("a"), Column::a},           {keyOf("LAB_A"), Column::a},      {keyOf("LAB-A"), Column::a},
    {keyOf("LabA"), Column::a},        {keyOf("b*"), Column::b},         {keyOf("b"), Column::b},
    {keyOf("LAB_B"), Column::b},       {keyOf("LAB-B"), Column::b},      {keyOf("LabB"), Column::b},
    {keyOf("D"), Column::density},     {keyOf("Density"), Column::density}, {keyOf("OD"), Column::density},
    {keyOf("Input"), Column::input},   {keyOf("Input%"), Column::input}, {keyOf("GRAY"), Column::gray},
    {keyOf("GREY"), Column::gray},     {keyOf("GRAY%"), Column::gray},   {keyOf("GREY%"), Column::gray},
    {keyOf("GRAY_K"), Column::gray},
};

// The column a header field names. A field that cannot be one of the names
// (too long, or not beginning with one of their letters) is passed over
// before it is trimmed.
std::optional<Column> columnNamed(std::string_view field) {
  if (field.size() > kLongestName + 8) return std::nullopt;
  const auto first = std::find_if_not(field.begin(), field.end(), isBlankOrQuote);
  if (first == field.end()) return std::nullopt;
  switch (*first | 0x20) {
    case 'l': case 'a': case 'b': case 'd': case 'o': case 'i': case 'g':
      break;
    default:
      return std::nullopt;
  }
  // Trimmed of blanks and quotes (a header's names are ASCII).
  const auto last = std::find_if_not(field.rbegin(), field.rend(), isBlankOrQuote);
  const std::string_view name(&*first, static_cast<std::size_t>(last.base() - first));
  if (name.size() > kLongestName) return std::nullopt;
  const uint64_t key = keyOf(name);
  for (const auto& [known, column] : kNames)
    if (known == key) return column;
  return std::nullopt;
}

char separatorOf(std::string_view header) {
  if (header.find('\t') != std::string_view::npos) return '\t';
  if (header.find(';') != std::string_view::npos) return ';';
  return ',';
}

}  // namespace

std::optional<PlainTableColumns> PlainTableColumns::of(std::string_view header) {
  PlainTableColumns columns;
  columns.separator = separatorOf(header);
  columns.decimalComma = columns.separator == ';';
  const auto take = [](std::optional<std::size_t>& column, std::size_t at) {
    if (!column) column = at;
  };
  forEachField(header, columns.separator, [&](std::string_view field, std::size_t at) {
    const std::optional<Column> column = columnNamed(field);
    if (column == Column::L)
      take(columns.L, at);
    else if (column == Column::a)
      take(columns.a, at);
    else if (column == Column::b)
      take(columns.b, at);
    else if (column == Column::density)
      take(columns.density, at);
    else if ((column == Column::input || column == Column::gray) && !columns.input) {
      columns.input = at;
      columns.inputName = column == Column::input ? "Input value" : "GRAY value";
    }
    return true;
  });
  if (!columns.L && !columns.density) return std::nullopt;
  return columns;
}

bool PlainTableColumns::separatedHeader(std::string_view header, std::optional<std::string_view> next) {
  if (header.find('\t') != std::string_view::npos || (next && next->find('\t') != std::string_view::npos))
    return false;
  if (header.find(';') == std::string_view::npos && header.find(',') == std::string_view::npos) return false;
  std::size_t named = 0;
  forEachField(header, separatorOf(header), [&named](std::string_view field, std::size_t) {
    return holdsNothing(field) || ++named < 2;
  });
  return named >= 2 && of(header).has_value();
}

void PlainTableFile::readMeasurements() {
  const Rows& lines = measurementData2DArray;
  if (lines.empty()) {
    fail("no readings in the measurement file");
    return;
  }
  const std::optional<PlainTableColumns> columns = PlainTableColumns::of(lines[0].line());
  if (!columns) {
    fail("the header row names no L* or density column", lines[0].lineNumber());
    return;
  }
  const Fields header(lines[0].line(), columns->separator, lines[0].lineNumber());

  // The columns each row must reach, for the message about a short one.
  struct Used {
    std::size_t at;
    std::string_view name;
  };
  std::vector<Used> used;
  for (const auto& column : {columns->L ? columns->L : columns->density, columns->a, columns->b, columns->input})
    if (column) used.push_back({*column, unquoted(header[*column])});
  std::sort(used.begin(), used.end(), [](const Used& x, const Used& y) { return x.at < y.at; });

  const auto number = [&](std::string_view field) {
    const std::string_view value = unquoted(field);
    return columns->decimalComma ? text::parseDouble(text::replaceAll(value, ",", ".")) : text::parseDouble(value);
  };
  std::vector<CIELab> readings;
  inputs.clear();
  bool inputsNamed = columns->input.has_value();
  for (std::size_t r = 1; r < lines.size(); ++r) {
    const Fields row(lines[r].line(), columns->separator, lines[r].lineNumber());
    if (repeatsHeader(row)) continue;
    // A row of empty fields (a spreadsheet's empty row, ";;;") holds nothing.
    if (std::all_of(row.begin(), row.end(), holdsNothing))
      continue;
    const std::size_t count = row.size();
    for (const Used& column : used)
      if (column.at >= count) {
        fail("the row has " + std::to_string(count) + (count == 1 ? " field" : " fields") + ", but the header's " +
                 quotedField(column.name) + " column is field " + std::to_string(column.at + 1),
             row.lineNumber());
        return;
      }
    // Field `at`, or `fallback` (noted as `name`'s default) where it is not a number.
    const auto valueAt = [&](std::size_t at, const char* name, double fallback) {
      const std::string_view field = row[at];
      if (const auto value = number(field)) return *value;
      noteDefault(row.lineNumber(), static_cast<int64_t>(at), name, field, fallback);
      return fallback;
    };
    CIELab reading{kDefaultL, 0.0, 0.0};
    if (columns->L) {
      reading.L = valueAt(*columns->L, "L*", kDefaultL);
    } else if (const auto density = number(row[*columns->density])) {
      reading.L = densityToLstar(*density);
    } else {
      noteDefault(row.lineNumber(), static_cast<int64_t>(*columns->density), "L* from density",
                  row[*columns->density], kDefaultL);
    }
    if (columns->a) reading.a = valueAt(*columns->a, "a*", 0.0);
    if (columns->b) reading.b = valueAt(*columns->b, "b*", 0.0);
    if (inputsNamed) {
      // Steps are named by every reading's input or not at all.
      if (const auto input = number(row[*columns->input]))
        inputs.push_back(*input);
      else
        inputsNamed = false;
    }
    readings.push_back(reading);
    noteReadingLine(row.lineNumber());
  }
  if (!inputsNamed) inputs.clear();
  if (readings.empty()) {
    fail("no readings in the measurement file");
    return;
  }
  measuredLab = std::move(readings);
  if (!forLinearization) return;
  std::optional<StepNames> names;
  if (inputsNamed) names = stepsNamedByValues(inputs, /*whiteIsLowest=*/true, columns->inputName);
  averageAndInterpolate(true, names ? &*names : nullptr);
}

}  // namespace linearization
