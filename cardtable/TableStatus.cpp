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
#include <unordered_map>

#include "cardtable/CardTable.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"
#include "platform/stream/ComponentStream.h"

const char* const kStatusFileName = "Status.Dat";
const char* const kStatusCustomNames[16] = {"cno", "dfu", "cv",    "cs",  "fu",  "st",  "di", "cx",
                                            "cy",  "ft",  "nocot", "cot", "cms", "dsd", "ds", "cr"};

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

bool IsCustomName(std::string_view name) {
  for (const char* n : kStatusCustomNames)
    if (SameText(n, name)) return true;
  return false;
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

std::vector<TStatusEntry> ParseStatus(const std::string& data) {
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
    if (IsCustomName(e.Name)) {
      // Declared with data, but the table writes none.
      e.Custom = true;
      entries.push_back(std::move(e));
      continue;
    }
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

}  // namespace

// ---------------------------------------------------------------------------------------------
// Writing

std::string TCardTable::StatusData() const {
  TWriter w;
  w.WriteSignature();
  w.WriteStr(kClassName);
  w.WriteStr("");  // made at run time: no name
  auto integer = [&w](const char* name, int64_t v) {
    w.WritePropName(name);
    w.WriteInteger(v);
  };
  auto boolean = [&w](const char* name, bool v) {
    w.WritePropName(name);
    w.WriteBoolean(v);
  };
  auto string = [&w](const char* name, const std::string& v) {
    w.WritePropName(name);
    w.WriteString(v);
  };
  auto ident = [&w](const char* name, std::string_view v) {
    w.WritePropName(name);
    w.WriteIdent(v);
  };
  // Inherited properties are written only when they differ from their defaults.
  if (Tag != 0) integer("Tag", Tag);
  if (AlignWithMargins) boolean("AlignWithMargins", true);
  integer("Left", FLeft);
  integer("Top", FTop);
  integer("Width", FWidth);
  integer("Height", FHeight);
  if (Cursor != crDefault) {
    w.WritePropName("Cursor");
    WriteCursor(w, Cursor);
  }
  if (!Hint.empty()) string("Hint", Hint);
  if (HelpType != htContext) ident("HelpType", kHelpTypeNames[HelpType]);
  if (!HelpKeyword.empty()) string("HelpKeyword", HelpKeyword);
  if (HelpContext != 0) integer("HelpContext", HelpContext);
  const TMargins defaults;
  if (Margins.Left != defaults.Left) integer("Margins.Left", Margins.Left);
  if (Margins.Top != defaults.Top) integer("Margins.Top", Margins.Top);
  if (Margins.Right != defaults.Right) integer("Margins.Right", Margins.Right);
  if (Margins.Bottom != defaults.Bottom) integer("Margins.Bottom", Margins.Bottom);
  if (FAlign != alNone) ident("Align", kAlignNames[FAlign]);
  if (!Enabled) boolean("Enabled", false);
  // The table's own properties and those of its deck and backdrop are always written.
  string("CardDeck.DeckName", FCardDeck->DeckName);
  integer("CardDeck.CardBack", FCardDeck->CardBack);
  if (!FVisible) boolean("Visible", false);
  boolean("StretchBackground", FStretchBackground);
  integer("PlaceDeckOffset", FPlaceDeckOffset);
  w.WritePropName("DragCardCursor");
  WriteCursor(w, DragCardCursor);
  w.WritePropName("Color");
  WriteColor(w, FColor);
  const TBackdrop& bd = FBackDrop;
  boolean("BackDrop.Enabled", bd.Enabled());
  boolean("BackDrop.NewMode", bd.NewMode());
  boolean("BackDrop.ChangeRColour", bd.ChangeRColour());
  boolean("BackDrop.ChangeGColour", bd.ChangeGColour());
  boolean("BackDrop.ChangeBColour", bd.ChangeBColour());
  ident("BackDrop.Direction", FillDirectionName(bd.Direction()));
  integer("BackDrop.StartR", bd.StartR());
  integer("BackDrop.StartG", bd.StartG());
  integer("BackDrop.StartB", bd.StartB());
  w.WritePropName("BackDrop.NewColorFrom");
  WriteColor(w, bd.NewColorFrom());
  w.WritePropName("BackDrop.NewColorTo");
  WriteColor(w, bd.NewColorTo());
  ident("BackDrop.NewType", GradientStyleName(bd.NewType()));
  ident("JpegPerformance", kJpegNames[FJpegPerformance]);
  string("BackgroundPicture", FBackgroundPicture);
  integer("CardSpeed", FCardSpeed);
  boolean("DragAndDrop", DragAndDrop);
  boolean("DragFromDeck", DragFromDeck);
  boolean("DragFaceDown", DragFaceDown);
  boolean("LiftOffset", LiftOffset);
  boolean("RepaintLabels", RepaintLabels);
  boolean("AutoResize", AutoResize);
  integer("MinWidth", FMinWidth);
  integer("MinHeight", FMinHeight);
  integer("TurnOverAnimationSpeed", FTurnOverAnimationSpeed);
  boolean("TurnOverAnimationVertical", TurnOverAnimationVertical);
  boolean("TurnOverAnimationLift", TurnOverAnimationLift);
  integer("AutoShadeMode", FAutoShadeMode);
  boolean("SlowMoveRegion", SlowMoveRegion);
  ident("ShadowMode", kShadowModeNames[ShadowMode]);
  boolean("SoftShadow", SoftShadow);
  boolean("SMR_WaitMode", SMR_WaitMode);
  boolean("FastMovementMode", FastMovementMode);
  boolean("HQDragShade", HQDragShade);
  integer("HQDragShadeColour", FHQDragShadeColour);
  boolean("DisableCardClicks", DisableCardClicks);
  for (const char* name : kStatusCustomNames) w.WritePropName(name);
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
  const std::vector<TStatusEntry> entries = ParseStatus(Data);

  // Bounds are applied last, and only to a table that is not aligned: an aligned table takes its
  // size from the form, and saved bounds would fight the layout.
  std::optional<int> left, top, width, height;
  using TApply = std::function<bool(const TStatusEntry&)>;
  auto toInt = [](std::optional<int>& into, int64_t lo, int64_t hi) {
    return [&into, lo, hi](const TStatusEntry& e) {
      into = e.Integer(lo, hi);
      return into.has_value();
    };
  };
  auto setInt = [](auto setter, int64_t lo = INT32_MIN, int64_t hi = INT32_MAX) {
    return [setter, lo, hi](const TStatusEntry& e) {
      const std::optional<int> v = e.Integer(lo, hi);
      if (v) setter(*v);
      return v.has_value();
    };
  };
  auto setBool = [](auto setter) {
    return [setter](const TStatusEntry& e) {
      const std::optional<bool> v = e.Boolean();
      if (v) setter(*v);
      return v.has_value();
    };
  };
  auto setColor = [](auto setter) {
    return [setter](const TStatusEntry& e) {
      const std::optional<TColor> v = e.Color();
      if (v) setter(*v);
      return v.has_value();
    };
  };
  TBackdrop& bd = FBackDrop;
  const std::unordered_map<std::string, TApply> apply = {
      {"tag", setInt([this](int v) { Tag = v; })},
      {"alignwithmargins", setBool([this](bool v) { AlignWithMargins = v; })},
      {"left", toInt(left, -kMaxTableSize, kMaxTableSize)},
      {"top", toInt(top, -kMaxTableSize, kMaxTableSize)},
      {"width", toInt(width, 0, kMaxTableSize)},
      {"height", toInt(height, 0, kMaxTableSize)},
      {"cursor",
       [this](const TStatusEntry& e) {
         const std::optional<TCursor> c = e.Cursor();
         if (c) Cursor = *c;
         return c.has_value();
       }},
      {"hint",
       [this](const TStatusEntry& e) {
         const std::optional<std::string> s = e.String();
         if (s) Hint = *s;
         return s.has_value();
       }},
      {"helptype",
       [this](const TStatusEntry& e) {
         const std::optional<int> v = e.Enum(kHelpTypeNames);
         if (v) HelpType = THelpType(*v);
         return v.has_value();
       }},
      {"helpkeyword",
       [this](const TStatusEntry& e) {
         const std::optional<std::string> s = e.String();
         if (s) HelpKeyword = *s;
         return s.has_value();
       }},
      {"helpcontext", setInt([this](int v) { HelpContext = v; })},
      {"margins.left", setInt([this](int v) { Margins.Left = v; })},
      {"margins.top", setInt([this](int v) { Margins.Top = v; })},
      {"margins.right", setInt([this](int v) { Margins.Right = v; })},
      {"margins.bottom", setInt([this](int v) { Margins.Bottom = v; })},
      {"align",
       [this](const TStatusEntry& e) {
         const std::optional<int> v = e.Enum(kAlignNames);
         if (v) SetAlign(TAlign(*v));
         return v.has_value();
       }},
      {"enabled", setBool([this](bool v) { Enabled = v; })},
      {"carddeck.deckname",
       [this](const TStatusEntry& e) {
         const std::optional<std::string> s = e.String();
         if (!s) return false;
         FCardDeck->SetDeckName(*s);
         if (FCardDeck->DeckName != *s)
           Trace("Status.Dat: card set \"" + *s + "\" not found or not usable; \"" + FCardDeck->DeckName +
                 "\" kept.");
         return true;
       }},
      {"carddeck.cardback",
       [this](const TStatusEntry& e) {
         const std::optional<int> v = e.Integer();
         if (!v) return false;
         FCardDeck->SetCardBack(*v);
         if (FCardDeck->CardBack != *v)
           Trace("Status.Dat: card back " + std::to_string(*v) + " not found; back " +
                 std::to_string(FCardDeck->CardBack) + " used.");
         return true;
       }},
      {"visible", setBool([this](bool v) { SetVisible(v); })},
      {"stretchbackground", setBool([this](bool v) { SetStretchBackground(v); })},
      {"placedeckoffset", setInt([this](int v) { SetPlaceDeckOffset(v); })},
      {"dragcardcursor",
       [this](const TStatusEntry& e) {
         const std::optional<TCursor> c = e.Cursor();
         if (c) DragCardCursor = *c;
         return c.has_value();
       }},
      {"color", setColor([this](TColor c) { SetColor(c); })},
      {"backdrop.enabled", setBool([&bd](bool v) { bd.SetEnabled(v); })},
      {"backdrop.newmode", setBool([&bd](bool v) { bd.SetNewMode(v); })},
      {"backdrop.changercolour", setBool([&bd](bool v) { bd.SetChangeRColour(v); })},
      {"backdrop.changegcolour", setBool([&bd](bool v) { bd.SetChangeGColour(v); })},
      {"backdrop.changebcolour", setBool([&bd](bool v) { bd.SetChangeBColour(v); })},
      {"backdrop.direction",
       [&bd](const TStatusEntry& e) {
         const std::optional<TFillDirection> d = e.Ident() ? FillDirectionFromName(*e.Ident()) : std::nullopt;
         if (d) bd.SetDirection(*d);
         return d.has_value();
       }},
      {"backdrop.startr", setInt([&bd](int v) { bd.SetStartR(uint8_t(v)); }, 0, 255)},
      {"backdrop.startg", setInt([&bd](int v) { bd.SetStartG(uint8_t(v)); }, 0, 255)},
      {"backdrop.startb", setInt([&bd](int v) { bd.SetStartB(uint8_t(v)); }, 0, 255)},
      {"backdrop.newcolorfrom", setColor([&bd](TColor c) { bd.SetNewColorFrom(c); })},
      {"backdrop.newcolorto", setColor([&bd](TColor c) { bd.SetNewColorTo(c); })},
      {"backdrop.newtype",
       [&bd](const TStatusEntry& e) {
         const std::optional<TGradientStyle> t = e.Ident() ? GradientStyleFromName(*e.Ident()) : std::nullopt;
         if (t) bd.SetNewType(*t);
         return t.has_value();
       }},
      {"jpegperformance",
       [this](const TStatusEntry& e) {
         const std::optional<int> v = e.Enum(kJpegNames);
         if (v) SetJpegPerformance(TJPEGPerformance(*v));
         return v.has_value();
       }},
      {"backgroundpicture",
       [this](const TStatusEntry& e) {
         const std::optional<std::string> s = e.String();
         if (s) SetBackgroundPicture(*s);
         return s.has_value();
       }},
      {"cardspeed", setInt([this](int v) { SetCardSpeed(v); })},
      {"draganddrop", setBool([this](bool v) { DragAndDrop = v; })},
      {"dragfromdeck", setBool([this](bool v) { DragFromDeck = v; })},
      {"dragfacedown", setBool([this](bool v) { DragFaceDown = v; })},
      {"liftoffset", setBool([this](bool v) { LiftOffset = v; })},
      {"repaintlabels", setBool([this](bool v) { RepaintLabels = v; })},
      {"autoresize", setBool([this](bool v) { AutoResize = v; })},
      {"minwidth", setInt([this](int v) { SetMinWidth(v); }, 0, kMaxTableSize)},
      {"minheight", setInt([this](int v) { SetMinHeight(v); }, 0, kMaxTableSize)},
      {"turnoveranimationspeed", setInt([this](int v) { SetTurnOverAnimationSpeed(v); })},
      {"turnoveranimationvertical", setBool([this](bool v) { TurnOverAnimationVertical = v; })},
      {"turnoveranimationlift", setBool([this](bool v) { TurnOverAnimationLift = v; })},
      {"autoshademode", setInt([this](int v) { SetAutoShadeMode(v); })},
      {"slowmoveregion", setBool([this](bool v) { SlowMoveRegion = v; })},
      {"shadowmode",
       [this](const TStatusEntry& e) {
         const std::optional<int> v = e.Enum(kShadowModeNames);
         if (v) ShadowMode = TShadowMode(*v);
         return v.has_value();
       }},
      {"softshadow", setBool([this](bool v) { SoftShadow = v; })},
      {"smr_waitmode", setBool([this](bool v) { SMR_WaitMode = v; })},
      {"fastmovementmode", setBool([this](bool v) { FastMovementMode = v; })},
      {"hqdragshade", setBool([this](bool v) { HQDragShade = v; })},
      {"hqdragshadecolour", setInt([this](int v) { SetHQDragShadeColour(v); })},
      // Written for the file's sake only: a table that starts with card presses blocked could never
      // be played, so the setting is not taken back.
      {"disablecardclicks", [](const TStatusEntry& e) { return e.Boolean().has_value(); }},
  };

  for (const TStatusEntry& e : entries) {
    if (e.Custom) continue;
    const auto it = apply.find(LowerCase(e.Name));
    if (it == apply.end()) {
      Trace("Status.Dat: unknown setting \"" + e.Name + "\" skipped.");
      continue;
    }
    try {
      if (!it->second(e)) Trace("Status.Dat: the value of \"" + e.Name + "\" is not usable; setting kept.");
    } catch (const Exception& ex) {
      Trace("Status.Dat: \"" + e.Name + "\" could not be applied (" + ex.Message() + ").");
    } catch (const std::bad_alloc&) {
      // A value that needs more memory than there is (a huge card set, say) is an unusable value.
      Trace("Status.Dat: \"" + e.Name + "\" could not be applied (not enough memory); setting kept.");
    }
  }
  if (width && height && int64_t(*width) * *height > kMaxTableArea) {
    Trace("Status.Dat: a table of " + std::to_string(*width) + " x " + std::to_string(*height) +
          " is larger than a screen; size kept.");
    width.reset();
    height.reset();
  }
  if (FAlign == alNone && (left || top || width || height))
    ApplyBounds(left.value_or(FLeft), top.value_or(FTop), width.value_or(FWidth), height.value_or(FHeight));
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
