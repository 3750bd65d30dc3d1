#include "main_window_layout.h"

#include "launch/about_links.h"

namespace gantrel {
namespace {

using K = ControlKind;
using F = FontKind;
using L = TextLook;

// Order matters: the controls that take the focus come first, in keyboard order.
constexpr ControlSpec kControls[] = {
    // "Blizzard Servers"
    {kIdGameList, kGameListTab, K::List, "", "Battle.Net server list", F::ListFont, L::Plain, 1320, 900, 3495, 2370},
    {kIdRestore, kGameListTab, K::Button, "Restore", "Restores a list of default Battle.Net servers", F::Default, L::Plain, 1200, 3420, 735, 255},
    {kIdStarcraftFromGameList, kGameListTab, K::Button, "Starcraft", "Run Starcraft with current server list", F::Default, L::Plain, 2040, 3420, 750, 255},
    {kIdDiabloFromGameList, kGameListTab, K::Button, "Diablo", "Run Diablo with current server list", F::Default, L::Plain, 2880, 3420, 615, 255},
    {kIdPingGameList, kGameListTab, K::Button, "Ping", "Pings all servers and sorts by lowest ping time", F::Default, L::Plain, 3600, 3420, 615, 255},
    {kIdImport, kGameListTab, K::Button, "Import", "Imports the current Starcraft Battle.Net list from the registry", F::Default, L::Plain, 4320, 3420, 615, 255},
    // "Other Servers"
    {kIdPrivateList, kPrivateListTab, K::SortedList, "", "Non-Battle.Net server list", F::ListFont, L::Plain, 240, 900, 5655, 2370},
    {kIdAddPrivateServer, kPrivateListTab, K::Button, "Add ", "Add a server to the private list", F::Default, L::Plain, 1080, 3420, 495, 255},
    {kIdDeletePrivateServer, kPrivateListTab, K::Button, "Del", "Delete the highlighted server", F::Default, L::Plain, 1680, 3420, 495, 255},
    {kIdSavePrivateList, kPrivateListTab, K::Button, "Save", "Save the private server list", F::Default, L::Plain, 2280, 3420, 615, 255},
    {kIdStarcraftFromPrivateList, kPrivateListTab, K::Button, "Starcraft", "Run Starcraft with the selected private server", F::Default, L::Plain, 3000, 3420, 750, 255},
    {kIdDiabloFromPrivateList, kPrivateListTab, K::Button, "Diablo", "Run Diablo with the selected private server", F::Default, L::Plain, 3840, 3420, 615, 255},
    {kIdPingPrivateList, kPrivateListTab, K::Button, "Ping", nullptr, F::Default, L::Plain, 4560, 3420, 495, 255},
    // Headings of the list tabs
    {kIdGameListHeading, kGameListTab, K::Label, "Current Battle.Net Server List", nullptr, F::Heading, L::Centred, 1560, 600, 3030, 240},
    {kIdPrivateListHeading, kPrivateListTab, K::Label, "Private Battle.Net Server List", nullptr, F::Heading, L::Centred, 1440, 600, 3345, 240},
    // "How-To"
    {kIdHowToHeading, kHowToTab, K::Label, "How To:", nullptr, F::Heading, L::Plain, 2340, 600, 975, 255},
    {kIdGameHowTo, kHowToTab, K::Label, "Run Starcraft with a standard Blizzard Server:", nullptr, F::Default, L::Blue, 480, 1080, 4095, 195},
    {kIdGameHowToStep1, kHowToTab, K::Label, "1.  Select the Blizzard Servers tab.", nullptr, F::Default, L::Plain, 600, 1320, 3255, 195},
    {kIdGameHowToStep2, kHowToTab, K::Label, "2.  Press Restore to load a standard Battle.Net server list.", nullptr, F::Default, L::Plain, 600, 1560, 4320, 195},
    {kIdGameHowToStep3, kHowToTab, K::Label, "3.  Press Ping to sort the list by ascending ping times.", nullptr, F::Default, L::Plain, 600, 1800, 4515, 195},
    {kIdGameHowToStep4, kHowToTab, K::Label, "4.  Select the server to connect to and press Starcraft or Diablo.", nullptr, F::Default, L::Plain, 600, 2040, 4995, 195},
    {kIdPrivateHowTo, kHowToTab, K::Label, "Run Starcraft with a private server:", nullptr, F::Default, L::Blue, 480, 2520, 3735, 195},
    {kIdPrivateHowToStep1, kHowToTab, K::Label, "1.  Select the Other Servers tab.", nullptr, F::Default, L::Plain, 600, 2760, 3225, 195},
    {kIdPrivateHowToStep2, kHowToTab, K::Label, "2.  Select the server to connect to and press Starcraft or Diablo.", nullptr, F::Default, L::Plain, 600, 3000, 4935, 195},
    {kIdTcpHowTo, kHowToTab, K::Label, "A time marked TCP: that server does not answer ping, so the time is that of a connection to its game port.", nullptr, F::Default, L::Plain, 480, 3360, 5160, 390},
    // "About"
    {kIdEmailPrompt, kAboutTab, K::Label, "Click on my email address below to send suggestions, complaints, bug reports and death threats.", nullptr, F::AboutText, L::Plain, 1470, 840, 3165, 720},
    {kIdEmailFrame, kAboutTab, K::Frame, "", nullptr, F::Default, L::Plain, 1560, 1800, 3015, 375},
    {kIdEmailLink, kAboutTab, K::LinkLabel, kContactEmail, nullptr, F::AboutEmail, L::Blue, 1590, 1830, 2925, 300},
    {kIdWebPrompt, kAboutTab, K::Label, "Visit my web site to obtain the latest version:", nullptr, F::AboutText, L::Plain, 1530, 2400, 3045, 480},
    {kIdWebFrame, kAboutTab, K::Frame, "", nullptr, F::Default, L::Plain, 1080, 3000, 3855, 375},
    {kIdWebLink, kAboutTab, K::LinkLabel, kWebPageAddress, nullptr, F::AboutWeb, L::Blue, 1140, 3060, 3735, 240},
};

}  // namespace

FontSpec Font(FontKind kind) {
  switch (kind) {
    case FontKind::Heading: return {"MS Sans Serif", 975, true, false, false};
    case FontKind::ListFont: return {"Courier New", 825, false, false, true};
    case FontKind::AboutText: return {"MS Sans Serif", 975, false, false, false};
    case FontKind::AboutEmail: return {"MS Sans Serif", 1200, true, true, false};
    case FontKind::AboutWeb: return {"MS Sans Serif", 975, true, false, false};
    case FontKind::Busy: return {"Arial", 1425, false, false, false};
    case FontKind::Default: break;
  }
  return {"MS Sans Serif", 825, false, false, false};
}

std::span<const ControlSpec> MainControls() { return kControls; }

const ControlSpec* FindControl(int id) {
  for (const auto& c : kControls)
    if (c.id == id) return &c;
  return nullptr;
}

int TwipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

}  // namespace gantrel
