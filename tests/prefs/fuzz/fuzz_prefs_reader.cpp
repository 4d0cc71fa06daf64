// Vidurara: a ring around the mouse pointer for presentations.
// libFuzzer target over the preferences reader. Besides surviving any bytes under
// AddressSanitizer and UndefinedBehaviorSanitizer, it checks what must hold for every
// file: reading in pieces gives the records of reading at once; records hold no line
// end, names no capital and no blank; numbers agree with a second, plainer conversion;
// and what the writer makes of the result reads back to the same settings.
#include "PrefsFormat.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void require(bool ok, const char *what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

// The leading "-?[0-9]+" of a field, saturated, computed by counting digits instead of
// accumulating.
std::int32_t plainNumber(std::string_view s) {
  std::size_t i = 0;
  const bool negative = !s.empty() && s[0] == '-';
  if (negative)
    i = 1;
  std::size_t end = i;
  while (end < s.size() && s[end] >= '0' && s[end] <= '9')
    ++end;
  std::string digits(s.substr(i, end - i));
  digits.erase(0, digits.find_first_not_of('0'));
  if (end == i || digits.empty())
    return 0;
  if (digits.size() > 10)
    return negative ? INT32_MIN : INT32_MAX;
  const long long magnitude = std::stoll(digits);
  const long long value = negative ? -magnitude : magnitude;
  return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : std::int32_t(value);
}

bool sameRecords(const std::vector<directiveClass> &a, const std::vector<directiveClass> &b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].name != b[i].name || a[i].text != b[i].text)
      return false;
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char *>(data), size);

  std::vector<directiveClass> whole(1);
  prefModule::parseDirectives(input, whole);

  // The same bytes in pieces of changing length, so that "\r\n" and lines are cut
  // anywhere.
  std::vector<directiveClass> pieces(1);
  prefModule::DirectiveReader reader(pieces);
  std::size_t step = size ? data[0] % 5 + 1 : 1;
  for (std::size_t at = 0; at < size; at += step, step = step * 7 % 13 + 1)
    if (!reader.feed(input.substr(at, step)))
      break;
  reader.finish();
  require(sameRecords(whole, pieces), "reading in pieces differs from reading at once");

  prefModule::PrefValues values;
  for (std::size_t i = 1; i < whole.size(); ++i) {
    const directiveClass &d = whole[i];
    for (char c : d.name)
      require(c != ' ' && c != '\n' && c != '\r' && !(c >= 'A' && c <= 'Z'), "name character");
    for (char c : d.text)
      require(c != '\n' && c != '\r', "line end inside a value");
    prefModule::applyDirective(d, values);
    require(prefModule::numberValue(d.text) == plainNumber(d.text), "number conversion");
  }
  require(values.color <= 0xFFFFFFu, "colour beyond 24 bits");
  require(prefModule::numberValue(input) == plainNumber(input), "number conversion of the input");

  const std::string written = prefModule::formatPrefs(values);
  std::vector<directiveClass> again(1);
  prefModule::parseDirectives(written, again);
  require(again.size() == 6, "the writer's file holds five directives");
  prefModule::PrefValues readBack;
  for (std::size_t i = 1; i < again.size(); ++i)
    prefModule::applyDirective(again[i], readBack);
  require(readBack == values, "round trip through the writer");
  return 0;
}
