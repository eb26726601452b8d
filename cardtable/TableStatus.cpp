// The table's settings file "Status.Dat": the table written out as a component resource (the
// published properties as name-value pairs, nested ones with dotted names, then the table's own
// custom names) and read back through the setters in file order.
//
// Reading parses the whole file before it applies anything, so a damaged file changes nothing.
// Names the table does not know are stepped over by their value tag, and a value of the wrong kind
// (or out of its range) leaves its setting as it was; each such case leaves a trace line.

#include <algorithm>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <unordered_map>

#include "cardtable/CardTable.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"
#include "platform/stream/ComponentStream.h"

const char* const kStatusFileName = "Status.Dat";
const char* const kStatusCustomNames[16] = {"cno", "dfu", "cv",    "cs",  "fu",  "st",  "di", "cx",
                                            "cy",  "ft",  "nocot", "cot", "cms", "dsd", "ds", "cr"};

// Told of the names the table streams itself, after its published properties.
class TStatusFiler {
 public:
  virtual ~TStatusFiler() = default;
  // A name declared as having data of the table's own encoding.
  virtual void DefineProperty(const char* Name) = 0;
};

namespace {

const char* const kClassName = "TCardTable";
// The largest table a screen can show: a side of an 8192-pixel-wide screen, and no more pixels
// than an 8K screen has. A damaged file asking for more would cost a buffer of gigabytes.
constexpr int kMaxTableSize = 8192;
constexpr int64_t kMaxTableArea = int64_t(7680) * 4320;

const char* const kAlignNames[] = {"alNone",  "alTop",    "alBottom", "alLeft",
                                   "alRight", "alClient", "alCustom"};
const char* const kJpegNames[] = {"jpBestQuality", "jpBestSpeed"};
const char* const kShadowModeNames[] = {"smOriginal", "smDarken"};
const char* const kHelpTypeNames[] = {"htKeyword", "htContext"};

template <size_t N>
std::optional<int> IndexOfName(const char* const (&names)[N], std::string_view name) {
  for (size_t i = 0; i < N; ++i)
    if (SameText(names[i], name)) return int(i);
  return std::nullopt;
}

// One property as read from the file.
struct TStatusEntry {
  std::string Name;
  TValueType Type = TValueType::vaNull;
  int64_t Int = 0;
  std::string Text;  // strings and identifiers
  bool Custom = false;

  bool IsInteger() const {
    return Type == TValueType::vaInt8 || Type == TValueType::vaInt16 || Type == TValueType::vaInt32 ||
           Type == TValueType::vaInt64;
  }
  std::optional<int> Integer(int64_t lo = INT32_MIN, int64_t hi = INT32_MAX) const {
    if (!IsInteger() || Int < lo || Int > hi) return std::nullopt;
    return int(Int);
  }
  std::optional<bool> Boolean() const {
    if (Type == TValueType::vaFalse) return false;
    if (Type == TValueType::vaTrue) return true;
    return std::nullopt;
  }
  std::optional<std::string> String() const {
    if (Type == TValueType::vaString || Type == TValueType::vaLString || Type == TValueType::vaWString ||
        Type == TValueType::vaUTF8String)
      return Text;
    return std::nullopt;
  }
  std::optional<std::string> Ident() const {
    if (Type == TValueType::vaIdent) return Text;
    return std::nullopt;
  }
  template <size_t N>
  std::optional<int> Enum(const char* const (&names)[N]) const {
    if (Type != TValueType::vaIdent) return std::nullopt;
    return IndexOfName(names, Text);
  }
  // A colour by its identifier or its number.
  std::optional<TColor> Color() const {
    if (Type == TValueType::vaIdent) return IdentToColor(Text);
    return Integer();
  }
  std::optional<TCursor> Cursor() const {
    if (Type == TValueType::vaIdent) {
      if (const std::optional<int> c = IdentToCursor(Text)) return TCursor(*c);
      return std::nullopt;
    }
    if (const std::optional<int> c = Integer(INT16_MIN, INT16_MAX)) return TCursor(*c);
    return std::nullopt;
  }
};

// The names the table defines itself, as the reader looks them up.
class TStatusNameList final : public TStatusFiler {
 public:
  void DefineProperty(const char* Name) override { FNames.emplace_back(Name); }
  bool Has(std::string_view name) const {
    return std::any_of(FNames.begin(), FNames.end(),
                       [name](std::string_view n) { return SameText(n, name); });
  }

 private:
  std::vector<std::string_view> FNames;
};

// Writes each name the table defines. The table streams no data of its own (its cards are not
// kept in the file), so nothing follows a name.
class TStatusNameWriter final : public TStatusFiler {
 public:
  explicit TStatusNameWriter(TWriter& writer) : FWriter(writer) {}
  void DefineProperty(const char* Name) override { FWriter.WritePropName(Name); }

 private:
  TWriter& FWriter;
};

// One typed value from the stream into the entry; other tags are stepped over.
void ReadEntryValue(TReader& r, TStatusEntry& e) {
  e.Type = r.NextValue();
  switch (e.Type) {
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64:
      e.Int = r.ReadInteger();
      break;
    case TValueType::vaFalse:
    case TValueType::vaTrue:
      r.ReadBoolean();
      break;
    case TValueType::vaString:
    case TValueType::vaLString:
    case TValueType::vaWString:
    case TValueType::vaUTF8String:
      e.Text = r.ReadString();
      break;
    case TValueType::vaIdent:
      e.Text = r.ReadIdent();
      break;
    default:
      r.SkipValue();
      break;
  }
}

std::vector<TStatusEntry> ParseStatus(const std::string& data, const TStatusNameList& customNames) {
  TReader r(ComponentStreamOf(data));
  r.ReadSignature();
  r.ReadPrefix();
  const std::string className = r.ReadStr();
  if (!SameText(className, kClassName))
    throw EReadError("Invalid stream format: the file holds a " + className + ", not a card table.");
  r.ReadStr();  // the component's name
  std::vector<TStatusEntry> entries;
  while (!r.EndOfList()) {
    TStatusEntry e;
    e.Name = r.ReadStr();
    // The table's own names are declared with data, but the table writes none.
    e.Custom = customNames.Has(e.Name);
    if (!e.Custom) ReadEntryValue(r, e);
    entries.push_back(std::move(e));
  }
  r.ReadListEnd();
  // The (empty) list of child components follows; nothing after the properties is needed.
  return entries;
}

void WriteColor(TWriter& w, TColor c) {
  if (const std::optional<std::string_view> name = ColorToIdent(c))
    w.WriteIdent(*name);
  else
    w.WriteInteger(c);
}

void WriteCursor(TWriter& w, TCursor c) {
  if (const std::optional<std::string_view> name = CursorToIdent(c))
    w.WriteIdent(*name);
  else
    w.WriteInteger(c);
}

// ---------------------------------------------------------------------------------------------
// The stored properties: one row per property in file order, each with how it is written and how
// a value read back is checked and applied.

// What reading works on: the table, where its trace lines go, and the bounds, which are applied
// last (see ApplyReadBounds).
struct TStatusRead {
  TCardTable& Table;
  std::function<void(const std::string&)> Trace;
  std::optional<int> Left, Top, Width, Height;
};

struct TStoredProperty {
  const char* Name;  // as written; read in any case
  // Whether the table's value is written; empty: always (inherited properties are written only
  // when they differ from their defaults).
  std::function<bool(const TCardTable&)> Stored;
  std::function<void(TWriter&, const TCardTable&)> Write;
  // Applies the entry's value; false when the value is not usable (the setting is then kept).
  std::function<bool(TStatusRead&, const TStatusEntry&)> Read;
};

// How the values of one kind are written, and taken from an entry when they are usable.
template <class V>
struct TKind {
  std::function<void(TWriter&, const V&)> Write;
  std::function<std::optional<V>(const TStatusEntry&)> Read;
};

TKind<int> Integer(int64_t lo = INT32_MIN, int64_t hi = INT32_MAX) {
  return {[](TWriter& w, const int& v) { w.WriteInteger(v); },
          [lo, hi](const TStatusEntry& e) { return e.Integer(lo, hi); }};
}

TKind<bool> Boolean() {
  return {[](TWriter& w, const bool& v) { w.WriteBoolean(v); },
          [](const TStatusEntry& e) { return e.Boolean(); }};
}

TKind<std::string> String() {
  return {[](TWriter& w, const std::string& v) { w.WriteString(v); },
          [](const TStatusEntry& e) { return e.String(); }};
}

TKind<TColor> Colour() {
  return {[](TWriter& w, const TColor& v) { WriteColor(w, v); },
          [](const TStatusEntry& e) { return e.Color(); }};
}

TKind<TCursor> CursorKind() {
  return {[](TWriter& w, const TCursor& v) { WriteCursor(w, v); },
          [](const TStatusEntry& e) { return e.Cursor(); }};
}

// An enumeration written by the identifier of its value.
template <class E>
TKind<E> Identifier(std::string_view (*toName)(E), std::optional<E> (*fromName)(std::string_view)) {
  return {[toName](TWriter& w, const E& v) { w.WriteIdent(toName(v)); },
          [fromName](const TStatusEntry& e) { return e.Ident() ? fromName(*e.Ident()) : std::nullopt; }};
}

// An enumeration whose identifiers are listed in value order.
template <class E, size_t N>
TKind<E> Enumeration(const char* const (&names)[N]) {
  return {[&names](TWriter& w, const E& v) { w.WriteIdent(names[v]); },
          [&names](const TStatusEntry& e) -> std::optional<E> {
            const std::optional<int> v = e.Enum(names);
            if (!v) return std::nullopt;
            return E(*v);
          }};
}

template <class V>
using TGetter = std::type_identity_t<std::function<V(const TCardTable&)>>;
template <class V>
using TSetter = std::type_identity_t<std::function<void(TStatusRead&, const V&)>>;
template <class V>
using TDefault = std::type_identity_t<std::optional<V>>;

// A property of a kind, read from the table by get and applied by set. With an inherited default
// it is written only when the table's value differs from it.
template <class V>
TStoredProperty Property(const char* name, const TKind<V>& kind, TGetter<V> get, TSetter<V> set,
                         TDefault<V> inheritedDefault = std::nullopt) {
  TStoredProperty p{name, {}, {}, {}};
  if (inheritedDefault) p.Stored = [get, d = *inheritedDefault](const TCardTable& t) { return get(t) != d; };
  p.Write = [write = kind.Write, get](TWriter& w, const TCardTable& t) { write(w, get(t)); };
  p.Read = [read = kind.Read, set](TStatusRead& r, const TStatusEntry& e) {
    const std::optional<V> v = read(e);
    if (v) set(r, *v);
    return v.has_value();
  };
  return p;
}

// A public field of the table.
template <class V>
TStoredProperty Field(const char* name, const TKind<V>& kind, V TCardTable::*field,
                      TDefault<V> inheritedDefault = std::nullopt) {
  return Property<V>(
      name, kind, [field](const TCardTable& t) { return t.*field; },
      [field](TStatusRead& r, const V& v) { r.Table.*field = v; }, inheritedDefault);
}

// A property of the table with a getter and a setter.
template <class V, class R, class P>
TStoredProperty Accessors(const char* name, const TKind<V>& kind, R (TCardTable::*get)() const,
                          void (TCardTable::*set)(P), TDefault<V> inheritedDefault = std::nullopt) {
  return Property<V>(
      name, kind, [get](const TCardTable& t) { return V((t.*get)()); },
      [set](TStatusRead& r, const V& v) { (r.Table.*set)(static_cast<P>(v)); }, inheritedDefault);
}

// A property of the table's backdrop ("BackDrop." names).
template <class V, class R, class P>
TStoredProperty Backdrop(const char* name, const TKind<V>& kind, R (TBackdrop::*get)() const,
                         void (TBackdrop::*set)(P)) {
  return Property<V>(
      name, kind, [get](const TCardTable& t) { return V((t.BackDrop().*get)()); },
      [set](TStatusRead& r, const V& v) { (r.Table.BackDrop().*set)(static_cast<P>(v)); });
}

// One of the four bounds: read into TStatusRead, where an unusable value forgets an earlier one.
TStoredProperty Bound(const char* name, int lo, int hi, int (TCardTable::*get)() const,
                      std::optional<int> TStatusRead::*into) {
  TStoredProperty p = Property<int>(
      name, Integer(lo, hi), [get](const TCardTable& t) { return (t.*get)(); },
      [](TStatusRead&, const int&) {});
  p.Read = [lo, hi, into](TStatusRead& r, const TStatusEntry& e) {
    r.*into = e.Integer(lo, hi);
    return (r.*into).has_value();
  };
  return p;
}

// A margin of the control: written only when it differs from the default margins.
TStoredProperty Margin(const char* name, int TMargins::*side) {
  return Property<int>(
      name, Integer(), [side](const TCardTable& t) { return t.Margins.*side; },
      [side](TStatusRead& r, const int& v) { r.Table.Margins.*side = v; }, TMargins().*side);
}

// The deck's card set: a set that cannot be loaded leaves the one there and a trace line.
void ApplyDeckName(TStatusRead& r, const std::string& name) {
  TCardDeck& deck = *r.Table.CardDeck();
  deck.SetDeckName(name);
  if (deck.DeckName != name)
    r.Trace("Status.Dat: card set \"" + name + "\" not found or not usable; \"" + deck.DeckName + "\" kept.");
}

// The deck's back: a back the set lacks gives back 1 and a trace line.
void ApplyCardBack(TStatusRead& r, const int& back) {
  TCardDeck& deck = *r.Table.CardDeck();
  deck.SetCardBack(back);
  if (deck.CardBack != back)
    r.Trace("Status.Dat: card back " + std::to_string(back) + " not found; back " +
            std::to_string(deck.CardBack) + " used.");
}

const TStoredProperty kStoredProperties[] = {
    // The control's inherited properties (bounds always, the rest only when not at their defaults).
    Field("Tag", Integer(), &TCardTable::Tag, 0),
    Field("AlignWithMargins", Boolean(), &TCardTable::AlignWithMargins, false),
    Bound("Left", -kMaxTableSize, kMaxTableSize, &TCardTable::Left, &TStatusRead::Left),
    Bound("Top", -kMaxTableSize, kMaxTableSize, &TCardTable::Top, &TStatusRead::Top),
    Bound("Width", 0, kMaxTableSize, &TCardTable::Width, &TStatusRead::Width),
    Bound("Height", 0, kMaxTableSize, &TCardTable::Height, &TStatusRead::Height),
    Field("Cursor", CursorKind(), &TCardTable::Cursor, crDefault),
    Field("Hint", String(), &TCardTable::Hint, ""),
    Field("HelpType", Enumeration<THelpType>(kHelpTypeNames), &TCardTable::HelpType, htContext),
    Field("HelpKeyword", String(), &TCardTable::HelpKeyword, ""),
    Field("HelpContext", Integer(), &TCardTable::HelpContext, 0),
    Margin("Margins.Left", &TMargins::Left),
    Margin("Margins.Top", &TMargins::Top),
    Margin("Margins.Right", &TMargins::Right),
    Margin("Margins.Bottom", &TMargins::Bottom),
    Accessors("Align", Enumeration<TAlign>(kAlignNames), &TCardTable::Align, &TCardTable::SetAlign, alNone),
    Field("Enabled", Boolean(), &TCardTable::Enabled, true),
    // The table's own properties and those of its deck and backdrop: always written.
    Property<std::string>(
        "CardDeck.DeckName", String(), [](const TCardTable& t) { return t.CardDeck()->DeckName; },
        ApplyDeckName),
    Property<int>(
        "CardDeck.CardBack", Integer(), [](const TCardTable& t) { return t.CardDeck()->CardBack; },
        ApplyCardBack),
    Accessors("Visible", Boolean(), &TCardTable::Visible, &TCardTable::SetVisible, true),
    Accessors("StretchBackground", Boolean(), &TCardTable::StretchBackground,
              &TCardTable::SetStretchBackground),
    Accessors("PlaceDeckOffset", Integer(), &TCardTable::PlaceDeckOffset, &TCardTable::SetPlaceDeckOffset),
    Field("DragCardCursor", CursorKind(), &TCardTable::DragCardCursor),
    Accessors("Color", Colour(), &TCardTable::Color, &TCardTable::SetColor),
    Backdrop("BackDrop.Enabled", Boolean(), &TBackdrop::Enabled, &TBackdrop::SetEnabled),
    Backdrop("BackDrop.NewMode", Boolean(), &TBackdrop::NewMode, &TBackdrop::SetNewMode),
    Backdrop("BackDrop.ChangeRColour", Boolean(), &TBackdrop::ChangeRColour, &TBackdrop::SetChangeRColour),
    Backdrop("BackDrop.ChangeGColour", Boolean(), &TBackdrop::ChangeGColour, &TBackdrop::SetChangeGColour),
    Backdrop("BackDrop.ChangeBColour", Boolean(), &TBackdrop::ChangeBColour, &TBackdrop::SetChangeBColour),
    Backdrop("BackDrop.Direction", Identifier(FillDirectionName, FillDirectionFromName),
             &TBackdrop::Direction, &TBackdrop::SetDirection),
    Backdrop("BackDrop.StartR", Integer(0, 255), &TBackdrop::StartR, &TBackdrop::SetStartR),
    Backdrop("BackDrop.StartG", Integer(0, 255), &TBackdrop::StartG, &TBackdrop::SetStartG),
    Backdrop("BackDrop.StartB", Integer(0, 255), &TBackdrop::StartB, &TBackdrop::SetStartB),
    Backdrop("BackDrop.NewColorFrom", Colour(), &TBackdrop::NewColorFrom, &TBackdrop::SetNewColorFrom),
    Backdrop("BackDrop.NewColorTo", Colour(), &TBackdrop::NewColorTo, &TBackdrop::SetNewColorTo),
    Backdrop("BackDrop.NewType", Identifier(GradientStyleName, GradientStyleFromName), &TBackdrop::NewType,
             &TBackdrop::SetNewType),
    Accessors("JpegPerformance", Enumeration<TJPEGPerformance>(kJpegNames), &TCardTable::JpegPerformance,
              &TCardTable::SetJpegPerformance),
    Accessors("BackgroundPicture", String(), &TCardTable::BackgroundPicture,
              &TCardTable::SetBackgroundPicture),
    Accessors("CardSpeed", Integer(), &TCardTable::CardSpeed, &TCardTable::SetCardSpeed),
    Field("DragAndDrop", Boolean(), &TCardTable::DragAndDrop),
    Field("DragFromDeck", Boolean(), &TCardTable::DragFromDeck),
    Field("DragFaceDown", Boolean(), &TCardTable::DragFaceDown),
    Field("LiftOffset", Boolean(), &TCardTable::LiftOffset),
    Field("RepaintLabels", Boolean(), &TCardTable::RepaintLabels),
    Field("AutoResize", Boolean(), &TCardTable::AutoResize),
    Accessors("MinWidth", Integer(0, kMaxTableSize), &TCardTable::MinWidth, &TCardTable::SetMinWidth),
    Accessors("MinHeight", Integer(0, kMaxTableSize), &TCardTable::MinHeight, &TCardTable::SetMinHeight),
    Accessors("TurnOverAnimationSpeed", Integer(), &TCardTable::TurnOverAnimationSpeed,
              &TCardTable::SetTurnOverAnimationSpeed),
    Field("TurnOverAnimationVertical", Boolean(), &TCardTable::TurnOverAnimationVertical),
    Field("TurnOverAnimationLift", Boolean(), &TCardTable::TurnOverAnimationLift),
    Accessors("AutoShadeMode", Integer(), &TCardTable::AutoShadeMode, &TCardTable::SetAutoShadeMode),
    Field("SlowMoveRegion", Boolean(), &TCardTable::SlowMoveRegion),
    Field("ShadowMode", Enumeration<TShadowMode>(kShadowModeNames), &TCardTable::ShadowMode),
    Field("SoftShadow", Boolean(), &TCardTable::SoftShadow),
    Field("SMR_WaitMode", Boolean(), &TCardTable::SMR_WaitMode),
    Field("FastMovementMode", Boolean(), &TCardTable::FastMovementMode),
    Field("HQDragShade", Boolean(), &TCardTable::HQDragShade),
    Accessors("HQDragShadeColour", Integer(), &TCardTable::HQDragShadeColour,
              &TCardTable::SetHQDragShadeColour),
    // Written for the file's sake only: a table that starts with card presses blocked could never
    // be played, so the setting is not taken back.
    Property<bool>(
        "DisableCardClicks", Boolean(), [](const TCardTable& t) { return t.DisableCardClicks; },
        [](TStatusRead&, const bool&) {}),
};

// The stored property of a name in any case; nullptr for a name the table does not store.
const TStoredProperty* FindStoredProperty(std::string_view name) {
  static const std::unordered_map<std::string, const TStoredProperty*> byName = [] {
    std::unordered_map<std::string, const TStoredProperty*> m;
    for (const TStoredProperty& p : kStoredProperties) m.emplace(LowerCase(p.Name), &p);
    return m;
  }();
  const auto it = byName.find(LowerCase(name));
  return it == byName.end() ? nullptr : it->second;
}

// Applies one entry of the file; a name the table does not know, a value it cannot use and a
// setter that fails each leave the setting as it was and a trace line.
void ApplyStatusEntry(TStatusRead& r, const TStatusEntry& e) {
  const TStoredProperty* p = FindStoredProperty(e.Name);
  if (!p) {
    r.Trace("Status.Dat: unknown setting \"" + e.Name + "\" skipped.");
    return;
  }
  try {
    if (!p->Read(r, e)) r.Trace("Status.Dat: the value of \"" + e.Name + "\" is not usable; setting kept.");
  } catch (const Exception& ex) {
    r.Trace("Status.Dat: \"" + e.Name + "\" could not be applied (" + ex.Message() + ").");
  } catch (const std::bad_alloc&) {
    // A value that needs more memory than there is (a huge card set, say) is an unusable value.
    r.Trace("Status.Dat: \"" + e.Name + "\" could not be applied (not enough memory); setting kept.");
  }
}

// Bounds are applied last, and only to a table that is not aligned: an aligned table takes its
// size from the form, and saved bounds would fight the layout. A size larger than a screen is
// refused whole.
void ApplyReadBounds(TStatusRead& r) {
  TCardTable& t = r.Table;
  if (r.Width && r.Height && int64_t(*r.Width) * *r.Height > kMaxTableArea) {
    r.Trace("Status.Dat: a table of " + std::to_string(*r.Width) + " x " + std::to_string(*r.Height) +
            " is larger than a screen; size kept.");
    r.Width.reset();
    r.Height.reset();
  }
  if (t.Align() == alNone && (r.Left || r.Top || r.Width || r.Height))
    t.ApplyBounds(r.Left.value_or(t.Left()), r.Top.value_or(t.Top()), r.Width.value_or(t.Width()),
                  r.Height.value_or(t.Height()));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Writing

void TCardTable::DefineProperties(TStatusFiler& Filer) const {
  // The control defines no names of its own; the table's follow in their fixed order.
  for (const char* name : kStatusCustomNames) Filer.DefineProperty(name);
}

std::string TCardTable::StatusData() const {
  TWriter w;
  w.WriteSignature();
  w.WriteStr(kClassName);
  w.WriteStr("");  // made at run time: no name
  for (const TStoredProperty& p : kStoredProperties) {
    if (p.Stored && !p.Stored(*this)) continue;
    w.WritePropName(p.Name);
    p.Write(w, *this);
  }
  TStatusNameWriter names(w);
  DefineProperties(names);
  w.WriteListEnd();  // the properties
  w.WriteListEnd();  // the child components
  return ComponentResource(kClassName, w.Data());
}

std::string TCardTable::StatusFilePath(const std::string& Dir) const {
  // A file of the settings' kind given by its own path is used as it is.
  if (SameText(ExtractFileExt(Dir), ".dat") && !DirectoryExists(Dir)) return ResolvePath(Dir);
  const std::string dir = Dir.empty() ? ProgramDir : ExcludeTrailingSeparator(Dir);
  return ResolvePath(PathJoin(dir, kStatusFileName));
}

void TCardTable::SaveStatus(const std::string& Dir) {
  WriteFileAtomic(StatusFilePath(Dir), StatusData());
  ProcessEvents();
}

// ---------------------------------------------------------------------------------------------
// Reading

void TCardTable::ApplyStatusData(const std::string& Data) {
  TStatusNameList customNames;
  DefineProperties(customNames);
  const std::vector<TStatusEntry> entries = ParseStatus(Data, customNames);
  TStatusRead read{*this, [this](const std::string& line) { Trace(line); }, {}, {}, {}, {}};
  for (const TStatusEntry& e : entries)
    if (!e.Custom) ApplyStatusEntry(read, e);
  ApplyReadBounds(read);
}

TStatusLoad TCardTable::LoadStatus(const std::string& Dir) {
  const std::string path = StatusFilePath(Dir);
  TStatusLoad result = TStatusLoad::NoFile;
  if (FileExists(path)) {
    // Nothing reaches the screen until the background is applied once at the end, whatever happens.
    struct TUpdatesOff {
      TCardTable& Table;
      bool Saved;
      ~TUpdatesOff() { Table.FScreenUpdates = Saved; }
    } off{*this, FScreenUpdates};
    FScreenUpdates = false;
    // Set aside, not deleted: nothing the user made is lost, and the next start is clean. An
    // earlier damaged copy is kept too.
    auto setAside = [this, &path](const std::string& why) {
      const std::string aside = SetFileAside(path);
      Trace("Status.Dat could not be read (" + why + "); " +
            (aside.empty() ? std::string("left in place") : "renamed to \"" + ExtractFileName(aside) + "\"") +
            ", the table keeps its settings.");
      return TStatusLoad::Damaged;
    };
    try {
      ApplyStatusData(ReadFileText(path, TFileKind::Settings));
      result = TStatusLoad::Loaded;
    } catch (const Exception& e) {
      result = setAside(e.Message());
    } catch (const std::bad_alloc&) {
      // Running out of memory on a settings file means the file asks for too much: damaged.
      result = setAside("not enough memory");
    } catch (const std::length_error&) {
      result = setAside("not enough memory");
    }
  }
  RefreshBackground();
  return result;
}
