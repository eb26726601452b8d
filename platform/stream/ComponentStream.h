#pragma once
// The binary component stream in which the settings of a control are written out and read back:
// the signature "TPF0", the class and component names, then a list of properties, each a name
// (a short string, dotted for nested objects) and a value that starts with a one-byte tag. A list
// ends with a zero byte. The file form puts a resource header in front of the stream.
//
// TWriter appends values in the encodings the format uses (integers in the smallest width that
// holds them, identifiers for enumerations, short, long or UTF-8 strings). TReader takes any width
// and any string encoding, and skips a value of any tag, so a reader can step over properties it
// does not know. Every read checks the bytes that remain: a truncated or damaged stream raises
// EReadError, never reads past its end and never allocates more than the stream holds.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Exceptions.h"

// The stream is damaged: truncated, an unknown tag, a value of the wrong kind, a bad header.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

enum class TValueType : uint8_t {
  vaNull = 0,  // ends a list
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,  // u8 length + bytes
  vaIdent = 7,   // u8 length + ASCII
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,  // u32 length + bytes
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,  // u32 character count + UTF-16LE
  vaInt64 = 19,
  vaUTF8String = 20,  // u32 length + UTF-8 bytes
  vaDouble = 21,
};

// The four bytes that open a component stream.
constexpr std::string_view kStreamSignature = "TPF0";

class TWriter {
 public:
  void WriteSignature() { FData += kStreamSignature; }
  // A name without a tag: the class, the component and each property name. At most 255 bytes.
  void WriteStr(std::string_view s);
  void WritePropName(std::string_view name) { WriteStr(name); }
  // Tagged values.
  void WriteInteger(int64_t v);
  void WriteBoolean(bool v);
  // ASCII up to 255 bytes as a short string, longer ASCII as a long string, anything else (taken
  // as UTF-8) as a UTF-8 string.
  void WriteString(std::string_view s);
  void WriteIdent(std::string_view ident);
  void WriteListEnd() { FData += '\0'; }

  const std::string& Data() const { return FData; }

 private:
  void WriteTag(TValueType t) { FData += char(t); }
  void WriteU32(uint32_t v);
  std::string FData;
};

class TReader {
 public:
  // The data is not copied: it must outlive the reader.
  explicit TReader(std::string_view data) : FData(data) {}

  size_t Position() const { return FPos; }
  size_t Remaining() const { return FData.size() - FPos; }
  bool EndOfStream() const { return FPos >= FData.size(); }

  // Raises EReadError unless the next four bytes are "TPF0".
  void ReadSignature();
  // The optional prefix of an inherited or inline component; its flags (0 when absent).
  int ReadPrefix();
  std::string ReadStr();
  // The next tag without consuming it; raises at the end of the stream.
  TValueType NextValue() const;
  TValueType ReadValue();
  // True when the next byte ends a list (not consumed).
  bool EndOfList() const { return NextValue() == TValueType::vaNull; }
  void ReadListEnd();

  // Any integer width; raises EReadError for another tag.
  int64_t ReadInteger();
  bool ReadBoolean();
  // Any string encoding, returned as UTF-8 (short and long strings are taken as Windows-1252).
  std::string ReadString();
  // An identifier; False, True, nil and Null read as their names.
  std::string ReadIdent();
  // Steps over one value of any tag.
  void SkipValue();

 private:
  uint8_t Byte();
  uint32_t U32();
  std::string_view Take(size_t n);
  void Skip(size_t n) { Take(n); }
  void SkipValue(int depth);
  std::string_view FData;
  size_t FPos = 0;
};

// The header the file form puts in front of a component stream: a data resource named after the
// class in capitals, with the stream's length.
std::string ResourceHeader(std::string_view className, uint32_t streamLength);
// Header and stream together.
std::string ComponentResource(std::string_view className, std::string_view stream);
// The stream inside a component resource (a bare stream that starts with "TPF0" is taken as it
// is). Raises EReadError for a damaged header or a length beyond the data.
std::string_view ComponentStreamOf(std::string_view resource);

// Windows-1252 text as UTF-8, and UTF-16LE bytes as UTF-8 (lone surrogates become U+FFFD).
std::string Latin1252ToUtf8(std::string_view s);
std::string Utf16LEToUtf8(std::string_view bytes);

// Identifiers the stream uses for colours ($BBGGRR, system colours as $FF000000 + index) and for
// screen cursors. The writer uses a name only for an exact match.
std::optional<std::string_view> ColorToIdent(int32_t color);
std::optional<int32_t> IdentToColor(std::string_view ident);
std::optional<std::string_view> CursorToIdent(int cursor);
std::optional<int> IdentToCursor(std::string_view ident);
