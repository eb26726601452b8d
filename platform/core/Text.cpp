#include "platform/core/Text.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (auto& c : r)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return r;
}

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (auto& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return r;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool StartsText(std::string_view prefix, std::string_view s) {
  return s.size() >= prefix.size() && SameText(prefix, s.substr(0, prefix.size()));
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (unsigned char)s[b] <= ' ') ++b;
  while (e > b && (unsigned char)s[e - 1] <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

namespace {

// What a character at s[i] is for OneLine, and how many bytes it takes.
enum class TLineChar { Keep, Break, Drop };
TLineChar Classify(std::string_view s, size_t i, size_t& length) {
  const auto c = static_cast<unsigned char>(s[i]);
  const auto next = [&](size_t k) { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0; };
  length = 1;
  if (c == '\r' || c == '\n' || c == '\t' || c == '\v' || c == '\f') return TLineChar::Break;
  if (c < 0x20 || c == 0x7F) return TLineChar::Drop;
  if (c == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F) {  // U+0080..U+009F
    length = 2;
    return next(1) == 0x85 ? TLineChar::Break : TLineChar::Drop;
  }
  if (c == 0xE2 && next(1) == 0x80 && (next(2) == 0xA8 || next(2) == 0xA9)) {  // U+2028, U+2029
    length = 3;
    return TLineChar::Break;
  }
  return TLineChar::Keep;
}

}  // namespace

std::string OneLine(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  bool broken = false;  // within a run of breaks
  size_t length = 1;
  for (size_t i = 0; i < s.size(); i += length) {
    switch (Classify(s, i, length)) {
      case TLineChar::Break:
        if (!broken) out += ' ';
        broken = true;
        break;
      case TLineChar::Drop:
        break;
      case TLineChar::Keep:
        out.append(s.substr(i, length));
        broken = false;
        break;
    }
  }
  return out;
}

int StrToIntDef(std::string_view s, int def) {
  std::string t = Trim(s);
  if (t.empty()) return def;
  const char* first = t.data();
  if (*first == '+') ++first;
  int v = 0;
  auto [p, ec] = std::from_chars(first, t.data() + t.size(), v);
  if (ec != std::errc() || p != t.data() + t.size()) return def;
  return v;
}

std::string IntToStr(long long v) {
  return std::to_string(v);
}

std::string FloatToStr(double v) {
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, p) : std::string("0");
}

double StrToFloatDef(std::string_view s, double def) {
  std::string t = Trim(s);
  if (t.empty()) return def;
  double v = 0;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || p != t.data() + t.size()) return def;
  return v;
}
