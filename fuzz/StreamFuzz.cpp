// The component stream: any input reads or raises EReadError, never past its end; every integer
// and string read comes back the same when written and read again.

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/stream/ComponentStream.h"

namespace {

void CheckInteger(int64_t v) {
  TWriter w;
  w.WriteInteger(v);
  TReader r(w.Data());
  FUZZ_CHECK(r.ReadInteger() == v && r.EndOfStream(), "integer %lld", (long long)v);
}

void CheckString(const std::string& s) {
  TWriter w;
  w.WriteString(s);
  TReader r(w.Data());
  const std::string back = r.ReadString();
  FUZZ_CHECK(back == s && r.EndOfStream(), "a string of %zu bytes came back as %zu", s.size(), back.size());
}

// One property list with nested lists, reading each value as what its tag says.
void ReadList(TReader& r, int depth) {
  while (!r.EndOfList()) {
    r.ReadStr();
    switch (r.NextValue()) {
      case TValueType::vaInt8:
      case TValueType::vaInt16:
      case TValueType::vaInt32:
      case TValueType::vaInt64:
        CheckInteger(r.ReadInteger());
        break;
      case TValueType::vaString:
      case TValueType::vaLString:
      case TValueType::vaWString:
      case TValueType::vaUTF8String:
        CheckString(r.ReadString());
        break;
      case TValueType::vaIdent:
        r.ReadIdent();
        break;
      case TValueType::vaFalse:
      case TValueType::vaTrue:
        r.ReadBoolean();
        break;
      default:
        r.SkipValue();
        break;
    }
  }
  r.ReadListEnd();
  // Child components follow, each with its own list.
  if (depth < 4)
    while (!r.EndOfList()) {
      r.ReadPrefix();
      r.ReadStr();
      r.ReadStr();
      ReadList(r, depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    TReader r(ComponentStreamOf(bytes));
    r.ReadSignature();
    r.ReadPrefix();
    r.ReadStr();
    r.ReadStr();
    ReadList(r, 0);
    FUZZ_CHECK(r.Position() <= bytes.size(), "read past the end");
  } catch (const EReadError&) {
  }
  return 0;
}
