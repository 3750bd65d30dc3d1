#pragma once
#include <span>

#include "gantrel_version.h"

namespace gantrel {

// Control IDs of the main window; the GUI tests find controls by them.
enum ControlId : int {
  kIdTabs = 1000,
  kIdGameList = 1001,
  kIdPrivateList = 1002,
  kIdAddPrivateServer = 1101,
  kIdStarcraftFromGameList = 1102,
  kIdRestore = 1103,
  kIdPingPrivateList = 1104,
  kIdDeletePrivateServer = 1105,
  kIdStarcraftFromPrivateList = 1106,
  kIdSavePrivateList = 1107,
  kIdDiabloFromGameList = 1108,
  kIdDiabloFromPrivateList = 1109,
  kIdPingGameList = 1110,
  kIdImport = 1111,
  kIdGameListHeading = 1201,
  kIdPrivateListHeading = 1202,
  kIdWebPrompt = 1203,
  kIdWebLink = 1204,
  kIdEmailPrompt = 1205,
  kIdEmailLink = 1206,
  kIdHowToHeading = 1207,
  kIdPrivateHowToStep2 = 1208,
  kIdPrivateHowToStep1 = 1209,
  kIdPrivateHowTo = 1210,
  kIdGameHowToStep2 = 1211,
  kIdGameHowToStep1 = 1212,
  kIdGameHowTo = 1213,
  kIdGameHowToStep3 = 1214,
  kIdGameHowToStep4 = 1215,
  kIdTcpHowTo = 1216,
  kIdWebFrame = 1303,
  kIdEmailFrame = 1304,
  kIdBusyText = 2001,
};

enum Tab : int { kGameListTab, kPrivateListTab, kHowToTab, kAboutTab };

enum class ControlKind { Label, LinkLabel, List, SortedList, Button, Frame };
enum class TextLook { Plain, Centred, Blue };  // Blue: pure blue, left-aligned

// Fonts the window uses; Default is the tab control's own (MS Sans Serif 8.25 pt).
enum class FontKind { Default, Heading, ListFont, AboutText, AboutEmail, AboutWeb, Busy };

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
  Tab tab;  // the tab page that carries it
  ControlKind kind;
  const char* caption;
  const char* toolTip;  // nullptr: none
  FontKind font;
  TextLook look;
  int left, top, width, height;
};

inline constexpr const char* kMainCaption = "Gantrel v" GANTREL_VERSION_TEXT;
inline constexpr int kClientWidthTwips = 6120;
inline constexpr int kClientHeightTwips = 3960;
inline constexpr int kTabWidthTwips = 6135;
inline constexpr int kTabHeightTwips = 3975;
inline constexpr const char* kTabCaptions[] = {"Blizzard Servers", "Other Servers", "How-To", "About"};

// The busy window of a ping run: caption, client size and its one line of text.
inline constexpr const char* kBusyCaption = "Gantrel";
inline constexpr int kBusyWidthTwips = 2715;
inline constexpr int kBusyHeightTwips = 1230;
inline constexpr ControlSpec kBusyText = {kIdBusyText, kGameListTab, ControlKind::Label,
                                          "Pinging Servers...", nullptr, FontKind::Busy,
                                          TextLook::Plain, 240, 360, 2235, 330};

FontSpec Font(FontKind kind);

// Every control of the main window, in keyboard (tab index) order for those that take focus.
std::span<const ControlSpec> MainControls();
const ControlSpec* FindControl(int id);

// Twips to pixels at the given dots per inch, rounded to nearest.
int TwipsToPixels(int twips, int dpi);

}  // namespace gantrel
