// Vidurara: a ring around the mouse pointer for presentations.
#include "PrefsFormat.h"

#include <algorithm>
#include <limits>

namespace prefModule {

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Only ASCII letters fold: the names we know are ASCII, and other bytes are kept as they
// are so that no locale or encoding is assumed.
bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lowerAscii(a[i]) != lowerAscii(b[i]))
      return false;
  return true;
}

int colorComponent(std::string_view text, int n) {
  return std::clamp<std::int32_t>(numberValue(field(text, n)), 0, 255);
}

void appendNumber(std::string &out, std::int32_t value) { out += std::to_string(value); }

} // namespace

bool DirectiveReader::feed(std::string_view bytes) {
  for (char c : bytes) {
    if (ended_)
      return false;
    if (c == '\n' && afterCarriageReturn_) {
      // The second half of "\r\n": that line has been taken already.
      afterCarriageReturn_ = false;
      continue;
    }
    afterCarriageReturn_ = c == '\r';
    if (c == '\n' || c == '\r') {
      ended_ = !takeLine(line_);
      line_.clear();
    } else {
      line_ += c;
    }
  }
  return !ended_;
}

void DirectiveReader::finish() {
  // An empty rest is no line: "a\n" holds one line, not two.
  if (!ended_ && !line_.empty())
    ended_ = !takeLine(line_);
  line_.clear();
  ended_ = true;
}

bool DirectiveReader::takeLine(std::string_view line) {
  if (line.empty())
    return false;
  if (line.front() == '\'')
    return true;
  if (line.front() != '#')
    return false;
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos)
    return true;
  directiveClass record;
  record.name.reserve(blank - 1);
  for (char c : line.substr(1, blank - 1))
    record.name += lowerAscii(c);
  record.text = std::string(line.substr(blank + 1));
  records_.push_back(std::move(record));
  return true;
}

void parseDirectives(std::string_view contents, std::vector<directiveClass> &records) {
  DirectiveReader reader(records);
  reader.feed(contents);
  reader.finish();
}

std::int32_t numberValue(std::string_view text) {
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative)
    ++i;
  // Counted toward the sign's side, so that the lowest value fits without overflow.
  constexpr std::int64_t limit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    magnitude = std::min(limit, magnitude * 10 + (text[i] - '0'));
  if (negative)
    return std::int32_t(-magnitude);
  return std::int32_t(std::min<std::int64_t>(magnitude, std::numeric_limits<std::int32_t>::max()));
}

std::string_view field(std::string_view text, int n) {
  for (int i = 1; i < n; ++i) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
      return {};
    text.remove_prefix(comma + 1);
  }
  return text.substr(0, text.find(','));
}

PrefValues defaultPrefValues() {
  PrefValues v;
  v.top = 70;
  v.left = 10;
  v.autoShutOff = false;
  v.color = RGBColor(0, 0, 255);
  v.size = 100;
  v.lineWidth = 6;
  return v;
}

void applyDirective(const directiveClass &record, PrefValues &values) {
  const std::string_view name = record.name;
  const std::string_view text = record.text;
  if (equalsIgnoringCase(name, "Window1Position")) {
    values.top = numberValue(field(text, 1));
    values.left = numberValue(field(text, 2));
  } else if (equalsIgnoringCase(name, "AutoShutOff")) {
    values.autoShutOff = equalsIgnoringCase(text, "True");
  } else if (equalsIgnoringCase(name, "MyColor")) {
    values.color =
        RGBColor(colorComponent(text, 1), colorComponent(text, 2), colorComponent(text, 3));
  } else if (equalsIgnoringCase(name, "CircleSize")) {
    values.size = numberValue(text);
  } else if (equalsIgnoringCase(name, "CircleLineWidth")) {
    values.lineWidth = numberValue(text);
  }
}

std::string formatPrefs(const PrefValues &values) {
  std::string out;
  out += "#Window1Position ";
  appendNumber(out, values.top);
  out += ',';
  appendNumber(out, values.left);
  out += "\n#AutoShutOff ";
  out += values.autoShutOff ? "True" : "False";
  out += "\n#MyColor ";
  appendNumber(out, RedOf(values.color));
  out += ',';
  appendNumber(out, GreenOf(values.color));
  out += ',';
  appendNumber(out, BlueOf(values.color));
  out += "\n#CircleSize ";
  appendNumber(out, values.size);
  out += "\n#CircleLineWidth ";
  appendNumber(out, values.lineWidth);
  out += '\n';
  return out;
}

} // namespace prefModule
