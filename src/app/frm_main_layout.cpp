#include "app/frm_main_layout.h"

#include "launch/about_links.h"

namespace gantrel {
namespace {

using K = ControlKind;
using F = FontKind;

// Order matters: the controls that take the focus come first, in keyboard order.
constexpr ControlSpec kControls[] = {
    // "Blizzard Servers"
    {kIdList1, 0, K::List, "", "Battle.Net server list", F::ListFont, false, false, 1320, 900, 3495, 2370},
    {kIdCommand3, 0, K::Button, "Restore", "Restores a list of default Battle.Net servers", F::Default, false, false, 1200, 3420, 735, 255},
    {kIdCommand2, 0, K::Button, "Starcraft", "Run Starcraft with current server list", F::Default, false, false, 2040, 3420, 750, 255},
    {kIdCommand8, 0, K::Button, "Diablo", "Run Diablo with current server list", F::Default, false, false, 2880, 3420, 615, 255},
    {kIdCommand10, 0, K::Button, "Ping", "Pings all servers and sorts by lowest ping time", F::Default, false, false, 3600, 3420, 615, 255},
    {kIdCommand11, 0, K::Button, "Import", "Imports the current Starcraft Battle.Net list from the registry", F::Default, false, false, 4320, 3420, 615, 255},
    // "Other Servers"
    {kIdList2, 1, K::SortedList, "", "Non-Battle.Net server list", F::ListFont, false, false, 240, 900, 5655, 2370},
    {kIdCommand1, 1, K::Button, "Add ", "Add a server to the private list", F::Default, false, false, 1080, 3420, 495, 255},
    {kIdCommand5, 1, K::Button, "Del", "Delete the highlighted server", F::Default, false, false, 1680, 3420, 495, 255},
    {kIdCommand7, 1, K::Button, "Save", "Save the private server list", F::Default, false, false, 2280, 3420, 615, 255},
    {kIdCommand6, 1, K::Button, "Starcraft", "Run Starcraft with the selected private server", F::Default, false, false, 3000, 3420, 750, 255},
    {kIdCommand9, 1, K::Button, "Diablo", "Run Diablo with the selected private server", F::Default, false, false, 3840, 3420, 615, 255},
    {kIdCommand4, 1, K::Button, "Ping", nullptr, F::Default, false, false, 4560, 3420, 495, 255},
    // Headings of the list tabs
    {kIdLabel1, 0, K::Label, "Current Battle.Net Server List", nullptr, F::Heading, false, true, 1560, 600, 3030, 240},
    {kIdLabel2, 1, K::Label, "Private Battle.Net Server List", nullptr, F::Heading, false, true, 1440, 600, 3345, 240},
    // "How-To"
    {kIdLabel7, 2, K::Label, "How To:", nullptr, F::Heading, false, false, 2340, 600, 975, 255},
    {kIdLabel13, 2, K::Label, "Run Starcraft with a standard Blizzard Server:", nullptr, F::Default, true, false, 480, 1080, 4095, 195},
    {kIdLabel12, 2, K::Label, "1.  Select the Blizzard Servers tab.", nullptr, F::Default, false, false, 600, 1320, 3255, 195},
    {kIdLabel11, 2, K::Label, "2.  Press Restore to load a standard Battle.Net server list.", nullptr, F::Default, false, false, 600, 1560, 4320, 195},
    {kIdLabel14, 2, K::Label, "3.  Press Ping to sort the list by ascending ping times.", nullptr, F::Default, false, false, 600, 1800, 4515, 195},
    {kIdLabel15, 2, K::Label, "4.  Select the server to connect to and press Starcraft or Diablo.", nullptr, F::Default, false, false, 600, 2040, 4995, 195},
    {kIdLabel10, 2, K::Label, "Run Starcraft with a private server:", nullptr, F::Default, true, false, 480, 2520, 3735, 195},
    {kIdLabel9, 2, K::Label, "1.  Select the Other Servers tab.", nullptr, F::Default, false, false, 600, 2760, 3225, 195},
    {kIdLabel8, 2, K::Label, "2.  Select the server to connect to and press Starcraft or Diablo.", nullptr, F::Default, false, false, 600, 3000, 4935, 195},
    // "About"
    {kIdLabel5, 3, K::Label, "Click on my email address below to send suggestions, complaints, bug reports and death threats.", nullptr, F::AboutText, false, false, 1470, 840, 3165, 720},
    {kIdShape4, 3, K::Frame, "", nullptr, F::Default, false, false, 1560, 1800, 3015, 375},
    {kIdLabel6, 3, K::LinkLabel, kContactEmail, nullptr, F::AboutEmail, true, false, 1590, 1830, 2925, 300},
    {kIdLabel3, 3, K::Label, "Visit my web site to obtain the latest version:", nullptr, F::AboutText, false, false, 1530, 2400, 3045, 480},
    {kIdShape3, 3, K::Frame, "", nullptr, F::Default, false, false, 1080, 3000, 3855, 375},
    {kIdLabel4, 3, K::LinkLabel, kWebPageAddress, nullptr, F::AboutWeb, true, false, 1140, 3060, 3735, 240},
};

}  // namespace

FontSpec Font(FontKind kind) {
  switch (kind) {
    case FontKind::Heading: return {"MS Sans Serif", 975, true, false, false};
    case FontKind::ListFont: return {"Courier New", 825, false, false, true};
    case FontKind::AboutText: return {"MS Sans Serif", 975, false, false, false};
    case FontKind::AboutEmail: return {"MS Sans Serif", 1200, true, true, false};
    case FontKind::AboutWeb: return {"MS Sans Serif", 975, true, false, false};
    case FontKind::Default: break;
  }
  return {"MS Sans Serif", 825, false, false, false};
}

FontSpec MessageFont() { return {"Arial", 1425, false, false, false}; }

std::span<const ControlSpec> MainControls() { return kControls; }

const ControlSpec* FindControl(int id) {
  for (const auto& c : kControls)
    if (c.id == id) return &c;
  return nullptr;
}

int TwipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

}  // namespace gantrel
