// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

// The format of "vidurara3.txt" without any file or framework: bytes in, records and
// values out, and values in, bytes out. Kept free of Qt so that a fuzzer can build it
// on its own.

#include "Module1.h"
#include "prefModule.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace prefModule {

// Splits the file into lines and turns its directive lines into records, appended to
// `records` in file order. Bytes may arrive in pieces of any size; a line end ("\n",
// "\r\n" or "\r") may be split between two pieces.
class DirectiveReader {
public:
  explicit DirectiveReader(std::vector<directiveClass> &records) : records_(records) {}

  // Takes the next bytes of the file. False once the directives have ended: nothing
  // after that line is looked at, so the caller may stop reading.
  bool feed(std::string_view bytes);
  // The file has ended: a last line without a line end is taken too.
  void finish();
  bool ended() const { return ended_; }

private:
  // One line without its end. False when it ends the directives.
  bool takeLine(std::string_view line);

  std::vector<directiveClass> &records_;
  std::string line_;
  bool afterCarriageReturn_ = false;
  bool ended_ = false;
};

// The whole file at once.
void parseDirectives(std::string_view contents, std::vector<directiveClass> &records);

// A decimal field: its leading integer part (an optional "-", then digits), saturated
// to 32 bits. Anything that does not begin that way counts as 0.
std::int32_t numberValue(std::string_view field);

// Field `n` (from 1) of `text` cut at ","; empty when there are fewer fields.
std::string_view field(std::string_view text, int n);

// Everything the file carries.
struct PrefValues {
  std::int32_t top = 0;
  std::int32_t left = 0;
  bool autoShutOff = false;
  ColorValue color = 0;
  std::int32_t size = 0;
  std::int32_t lineWidth = 0;

  bool operator==(const PrefValues &o) const {
    return top == o.top && left == o.left && autoShutOff == o.autoShutOff && color == o.color &&
           size == o.size && lineWidth == o.lineWidth;
  }
  bool operator!=(const PrefValues &o) const { return !(*this == o); }
};

// The values of a first run, when there is no file to read.
PrefValues defaultPrefValues();

// Sets what one record names; a record of any other name changes nothing.
void applyDirective(const directiveClass &record, PrefValues &values);

// The five lines the writer produces, each ended by "\n".
std::string formatPrefs(const PrefValues &values);

} // namespace prefModule
