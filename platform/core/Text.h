#pragma once
// String helpers with the programs' conventions: ASCII case folding, "." as decimal separator.

#include <string>
#include <string_view>

std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
bool StartsText(std::string_view prefix, std::string_view s);  // ignoring case
std::string Trim(std::string_view s);
// Whole-string integer conversion; nullopt-like failure reported through ok.
int StrToIntDef(std::string_view s, int def);
std::string IntToStr(long long v);
// Decimal text with "." whatever the locale; FloatToStr writes the shortest round-trip form.
std::string FloatToStr(double v);
double StrToFloatDef(std::string_view s, double def);
