#include "platform/stream/ComponentStream.h"

#include <array>
#include <utility>

#include "platform/core/Text.h"

namespace {

// Lists and collections nest; a damaged stream must not nest deep enough to exhaust the stack.
constexpr int kMaxDepth = 64;

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

struct TIdent {
  std::string_view Name;
  int32_t Value;
};

constexpr int32_t Sys(int i) {
  return int32_t(0xFF000000u + uint32_t(i));
}

constexpr std::array<TIdent, 52> kColors = {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clHotLight", Sys(26)},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuBar", Sys(30)},
}};

constexpr std::array<TIdent, 23> kCursors = {{
    {"crDefault", 0},     {"crNone", -1},     {"crArrow", -2},    {"crCross", -3},     {"crIBeam", -4},
    {"crSizeNESW", -6},   {"crSizeNS", -7},   {"crSizeNWSE", -8}, {"crSizeWE", -9},    {"crUpArrow", -10},
    {"crHourGlass", -11}, {"crDrag", -12},    {"crNoDrop", -13},  {"crHSplit", -14},   {"crVSplit", -15},
    {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18},      {"crAppStart", -19}, {"crHelp", -20},
    {"crHandPoint", -21}, {"crSizeAll", -22}, {"crSize", -22},
}};

template <size_t N>
std::optional<std::string_view> NameOf(const std::array<TIdent, N>& table, int32_t v) {
  for (const TIdent& i : table)
    if (i.Value == v) return i.Name;
  return std::nullopt;
}

template <size_t N>
std::optional<int32_t> ValueOf(const std::array<TIdent, N>& table, std::string_view name) {
  for (const TIdent& i : table)
    if (SameText(i.Name, name)) return i.Value;
  return std::nullopt;
}

// The characters of 0x80..0x9F in Windows-1252 (0 where the code page has none).
constexpr std::array<uint16_t, 32> k1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Writing

void TWriter::WriteU32(uint32_t v) {
  for (int i = 0; i < 4; ++i) FData += char((v >> (8 * i)) & 0xFF);
}

void TWriter::WriteStr(std::string_view s) {
  if (s.size() > 255) s = s.substr(0, 255);
  FData += char(s.size());
  FData += s;
}

void TWriter::WriteInteger(int64_t v) {
  if (v >= -128 && v <= 127) {
    WriteTag(TValueType::vaInt8);
    FData += char(int8_t(v));
  } else if (v >= -32768 && v <= 32767) {
    WriteTag(TValueType::vaInt16);
    const uint16_t u = uint16_t(int16_t(v));
    FData += char(u & 0xFF);
    FData += char(u >> 8);
  } else if (v >= INT32_MIN && v <= INT32_MAX) {
    WriteTag(TValueType::vaInt32);
    WriteU32(uint32_t(int32_t(v)));
  } else {
    WriteTag(TValueType::vaInt64);
    const uint64_t u = uint64_t(v);
    WriteU32(uint32_t(u));
    WriteU32(uint32_t(u >> 32));
  }
}

void TWriter::WriteBoolean(bool v) {
  WriteTag(v ? TValueType::vaTrue : TValueType::vaFalse);
}

void TWriter::WriteString(std::string_view s) {
  if (IsAscii(s) && s.size() <= 255) {
    WriteTag(TValueType::vaString);
    FData += char(s.size());
  } else {
    WriteTag(IsAscii(s) ? TValueType::vaLString : TValueType::vaUTF8String);
    WriteU32(uint32_t(s.size()));
  }
  FData += s;
}

void TWriter::WriteIdent(std::string_view ident) {
  WriteTag(TValueType::vaIdent);
  WriteStr(ident);
}

// ---------------------------------------------------------------------------------------------
// Reading

std::string_view TReader::Take(size_t n) {
  if (n > Remaining()) throw EReadError("Stream read error: the data ends inside a value.");
  const std::string_view s = FData.substr(FPos, n);
  FPos += n;
  return s;
}

uint8_t TReader::Byte() {
  return uint8_t(Take(1)[0]);
}

uint32_t TReader::U32() {
  const std::string_view b = Take(4);
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(b[size_t(i)]);
  return v;
}

void TReader::ReadSignature() {
  if (Take(4) != kStreamSignature) throw EReadError("Invalid stream format.");
}

int TReader::ReadPrefix() {
  if (EndOfStream() || (uint8_t(FData[FPos]) & 0xF0) != 0xF0) return 0;
  const int flags = Byte() & 0x0F;
  if (flags & 2) ReadInteger();  // the child position
  return flags;
}

std::string TReader::ReadStr() {
  const uint8_t n = Byte();
  return std::string(Take(n));
}

TValueType TReader::NextValue() const {
  if (EndOfStream()) throw EReadError("Stream read error: the data ends before the end of a list.");
  return TValueType(uint8_t(FData[FPos]));
}

TValueType TReader::ReadValue() {
  const uint8_t t = Byte();
  if (t > uint8_t(TValueType::vaDouble)) throw EReadError("Invalid property value tag " + IntToStr(t) + ".");
  return TValueType(t);
}

void TReader::ReadListEnd() {
  if (ReadValue() != TValueType::vaNull) throw EReadError("Invalid stream format: a list does not end.");
}

int64_t TReader::ReadInteger() {
  switch (ReadValue()) {
    case TValueType::vaInt8:
      return int8_t(Byte());
    case TValueType::vaInt16: {
      const std::string_view b = Take(2);
      return int16_t(uint16_t(uint8_t(b[0]) | (uint8_t(b[1]) << 8)));
    }
    case TValueType::vaInt32:
      return int32_t(U32());
    case TValueType::vaInt64: {
      const uint64_t lo = U32(), hi = U32();
      return int64_t(lo | (hi << 32));
    }
    default:
      throw EReadError("Invalid property value: an integer was expected.");
  }
}

bool TReader::ReadBoolean() {
  switch (ReadValue()) {
    case TValueType::vaFalse:
      return false;
    case TValueType::vaTrue:
      return true;
    default:
      throw EReadError("Invalid property value: True or False was expected.");
  }
}

std::string TReader::ReadString() {
  switch (ReadValue()) {
    case TValueType::vaString:
      return Latin1252ToUtf8(Take(Byte()));
    case TValueType::vaLString:
      return Latin1252ToUtf8(Take(U32()));
    case TValueType::vaUTF8String:
      return std::string(Take(U32()));
    case TValueType::vaWString: {
      const uint32_t n = U32();
      if (n > Remaining() / 2) throw EReadError("Stream read error: the data ends inside a value.");
      return Utf16LEToUtf8(Take(size_t(n) * 2));
    }
    default:
      throw EReadError("Invalid property value: a string was expected.");
  }
}

std::string TReader::ReadIdent() {
  switch (ReadValue()) {
    case TValueType::vaIdent:
      return std::string(Take(Byte()));
    case TValueType::vaFalse:
      return "False";
    case TValueType::vaTrue:
      return "True";
    case TValueType::vaNil:
      return "nil";
    case TValueType::vaNull:
      return "Null";
    default:
      throw EReadError("Invalid property value: an identifier was expected.");
  }
}

void TReader::SkipValue() {
  SkipValue(0);
}

void TReader::SkipValue(int depth) {
  if (depth > kMaxDepth) throw EReadError("Invalid stream format: values nest too deep.");
  switch (ReadValue()) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
      return;
    case TValueType::vaList:
      while (!EndOfList()) SkipValue(depth + 1);
      ReadListEnd();
      return;
    case TValueType::vaInt8:
      Skip(1);
      return;
    case TValueType::vaInt16:
      Skip(2);
      return;
    case TValueType::vaInt32:
    case TValueType::vaSingle:
      Skip(4);
      return;
    case TValueType::vaExtended:
      Skip(10);
      return;
    case TValueType::vaCurrency:
    case TValueType::vaDate:
    case TValueType::vaInt64:
    case TValueType::vaDouble:
      Skip(8);
      return;
    case TValueType::vaString:
    case TValueType::vaIdent:
      Skip(Byte());
      return;
    case TValueType::vaBinary:
    case TValueType::vaLString:
    case TValueType::vaUTF8String:
      Skip(U32());
      return;
    case TValueType::vaWString: {
      const uint32_t n = U32();
      if (n > Remaining() / 2) throw EReadError("Stream read error: the data ends inside a value.");
      Skip(size_t(n) * 2);
      return;
    }
    case TValueType::vaSet:
      // Element names up to an empty one.
      while (Byte() != 0) {
        --FPos;
        ReadStr();
      }
      return;
    case TValueType::vaCollection:
      // Items, each an optional order value and a property list.
      while (!EndOfList()) {
        const TValueType t = NextValue();
        if (t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32) ReadInteger();
        if (!EndOfList() && NextValue() != TValueType::vaList)
          throw EReadError("Invalid stream format: a collection item is damaged.");
        ReadValue();
        while (!EndOfList()) {
          ReadStr();
          SkipValue(depth + 1);
        }
        ReadListEnd();
      }
      ReadListEnd();
      return;
  }
}

// ---------------------------------------------------------------------------------------------
// The resource header

std::string ResourceHeader(std::string_view className, uint32_t streamLength) {
  std::string h;
  h += char(0xFF);
  h += char(0x0A);
  h += char(0x00);
  h += UpperCase(className);
  h += '\0';
  h += char(0x30);
  h += char(0x10);
  for (int i = 0; i < 4; ++i) h += char((streamLength >> (8 * i)) & 0xFF);
  return h;
}

std::string ComponentResource(std::string_view className, std::string_view stream) {
  return ResourceHeader(className, uint32_t(stream.size())) + std::string(stream);
}

std::string_view ComponentStreamOf(std::string_view resource) {
  if (resource.substr(0, 4) == kStreamSignature) return resource;
  if (resource.size() < 3 || uint8_t(resource[0]) != 0xFF || uint8_t(resource[1]) != 0x0A ||
      uint8_t(resource[2]) != 0x00)
    throw EReadError("Invalid stream format: not a component resource.");
  const size_t nul = resource.find('\0', 3);
  if (nul == std::string_view::npos || nul + 7 > resource.size())
    throw EReadError("Invalid stream format: the resource header is damaged.");
  const size_t start = nul + 7;
  uint32_t length = 0;
  for (int i = 3; i >= 0; --i) length = (length << 8) | uint8_t(resource[nul + 3 + size_t(i)]);
  if (length > resource.size() - start) throw EReadError("Stream read error: the resource is truncated.");
  return resource.substr(start, length);
}

// ---------------------------------------------------------------------------------------------
// Text

std::string Latin1252ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s) {
    const uint8_t c = uint8_t(ch);
    if (c < 0x80)
      out += ch;
    else if (c < 0xA0)
      AppendUtf8(out, k1252High[c - 0x80] ? k1252High[c - 0x80] : 0xFFFD);
    else
      AppendUtf8(out, c);
  }
  return out;
}

std::string Utf16LEToUtf8(std::string_view bytes) {
  std::string out;
  const size_t n = bytes.size() / 2;
  auto unit = [&](size_t i) { return uint16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8)); };
  for (size_t i = 0; i < n; ++i) {
    const uint16_t u = unit(i);
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < n && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000) {
      AppendUtf8(out, 0x10000 + ((uint32_t(u) - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u < 0xE000) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Identifiers

std::optional<std::string_view> ColorToIdent(int32_t color) {
  return NameOf(kColors, color);
}

std::optional<int32_t> IdentToColor(std::string_view ident) {
  return ValueOf(kColors, ident);
}

std::optional<std::string_view> CursorToIdent(int cursor) {
  return NameOf(kCursors, cursor);
}

std::optional<int> IdentToCursor(std::string_view ident) {
  return ValueOf(kCursors, ident);
}
