#pragma once
#include <cstdint>
#include <span>

namespace gantrel {

// Control IDs of the main window; the GUI tests find controls by them.
enum ControlId : int {
  kIdSSTab1 = 1000,
  kIdList1 = 1001,
  kIdList2 = 1002,
  kIdCommand1 = 1101,
  kIdCommand2,
  kIdCommand3,
  kIdCommand4,
  kIdCommand5,
  kIdCommand6,
  kIdCommand7,
  kIdCommand8,
  kIdCommand9,
  kIdCommand10,
  kIdCommand11,
  kIdLabel1 = 1201,
  kIdLabel2,
  kIdLabel3,
  kIdLabel4,
  kIdLabel5,
  kIdLabel6,
  kIdLabel7,
  kIdLabel8,
  kIdLabel9,
  kIdLabel10,
  kIdLabel11,
  kIdLabel12,
  kIdLabel13,
  kIdLabel14,
  kIdLabel15,
  kIdShape3 = 1303,
  kIdShape4 = 1304,
};

// The message window's label.
constexpr int kIdMessageLabel1 = 2001;

enum class ControlKind { Label, LinkLabel, List, SortedList, Button, Frame };

// Fonts the window uses; Default is the tab control's own (MS Sans Serif 8.25 pt).
enum class FontKind { Default, Heading, ListFont, AboutText, AboutEmail, AboutWeb };

struct FontSpec {
  const char* face;
  int hundredthsOfPoint;  // 825 = 8.25 pt
  bool bold;
  bool italic;
  bool fixedPitch;  // lets a system without the face pick a fixed-pitch one
};

// One control, in twips relative to the tab control's top-left corner.
struct ControlSpec {
  int id;
  int tab;  // the tab page that carries it
  ControlKind kind;
  const char* caption;
  const char* toolTip;  // nullptr: none
  FontKind font;
  bool blue;      // drawn in pure blue
  bool centred;
  int left, top, width, height;
};

inline constexpr const char* kMainCaption = "Gantrel v1.2";
inline constexpr int kClientWidthTwips = 6120;
inline constexpr int kClientHeightTwips = 3960;
inline constexpr int kTabWidthTwips = 6135;
inline constexpr int kTabHeightTwips = 3975;
inline constexpr const char* kTabCaptions[] = {"Blizzard Servers", "Other Servers", "How-To", "About"};

inline constexpr const char* kMessageCaption = "Gantrel";
inline constexpr const char* kMessageText = "Pinging Servers...";
inline constexpr int kMessageWidthTwips = 2715;
inline constexpr int kMessageHeightTwips = 1230;

FontSpec Font(FontKind kind);
FontSpec MessageFont();  // Arial 14.25 pt

// Every control of the main window, in keyboard (tab index) order for those that take focus.
std::span<const ControlSpec> MainControls();
const ControlSpec* FindControl(int id);

// Twips to pixels at the given dots per inch, rounded to nearest.
int TwipsToPixels(int twips, int dpi);

}  // namespace gantrel
