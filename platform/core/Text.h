#pragma once
// String helpers with the programs' conventions: ASCII case folding, "." as decimal separator.

#include <string>
#include <string_view>

std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
bool StartsText(std::string_view prefix, std::string_view s);  // ignoring case
std::string Trim(std::string_view s);
// Text fit for one line of a line file, whatever was typed or pasted: each run of line breaks and
// tabs (CR, LF, tab, vertical tab, form feed, and the Unicode next-line, line and paragraph
// separators) becomes one blank, and every other control character (C0, DEL, C1) goes. Bytes that
// are no UTF-8 are kept as they are.
std::string OneLine(std::string_view s);
// Whole-string integer conversion; nullopt-like failure reported through ok.
int StrToIntDef(std::string_view s, int def);
std::string IntToStr(long long v);
// Decimal text with "." whatever the locale; FloatToStr writes the shortest round-trip form.
std::string FloatToStr(double v);
double StrToFloatDef(std::string_view s, double def);
