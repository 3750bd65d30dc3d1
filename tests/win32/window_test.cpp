// The real window driven from another process, one pass per capability.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "gantrel_driver.h"
#include "gateways/gateway_list.h"
#include "server_list/server_list.h"
#include "win32_font.h"

namespace gantrel::driver {

using namespace std::string_literals;
using Rows = std::vector<std::string>;

TEST(MainWindow, ListsAndTheirButtons) {
  const std::string windir = Folder("lists");
  Gantrel app = Open(windir, {REG_SZ, "127.0.0.1;localhost"}, "localhost\r\n127.0.0.1\r\n");
  // Size, 4 tabs (TCM_GETITEMCOUNT), controls placed from the corner, a heading centred.
  const auto px = [](int twips) { return TwipsToPixels(twips, ScreenDpi()); };
  RECT client{};
  POINT at{};
  MapWindowPoints(app.Control(kIdRestore), app.main, &at, 1);
  EXPECT_TRUE(GetClientRect(app.main, &client) && client.right == px(kClientWidthTwips) &&
              client.bottom == px(kClientHeightTwips) && app.Send(kIdTabs, 0x1304) == 4 &&
              at.x == px(FindControl(kIdRestore)->left) &&
              at.y == px(FindControl(kIdRestore)->top) &&
              (GetWindowLongA(app.Control(kIdGameListHeading), GWL_STYLE) & 0x1F) == SS_CENTER);
  const auto rect = [](HWND h) { RECT r{}; return GetWindowRect(h, &r), r; };
  SetCursorPos(rect(app.Control(kIdRestore)).left + 2, rect(app.Control(kIdRestore)).top + 2);
  const auto tip = [&] { return FindWindowOf(app.pi.dwProcessId, "tooltips_class32"); };  // shown
  EXPECT_TRUE(WaitFor(tip) && TextOf(tip()) == FindControl(kIdRestore)->toolTip);
  // Keys: Tab moves the focus from the first control on, Ctrl+Tab to the next page's first.
  EXPECT_TRUE(app.Press({VK_TAB}, app.Control(kIdRestore)) && app.Tab() == kGameListTab);
  EXPECT_TRUE(app.Press({VK_CONTROL, VK_TAB}, app.Control(kIdPrivateList)) &&
              app.Tab() == kPrivateListTab);
  // Import refills the game list alone, drawn again once the window is told: 22 rows, a scroll bar.
  SetReg(kBattleNetKey, kServerListValue, {REG_SZ, std::string(21, ';')});
  app.Click(kIdImport);
  EXPECT_TRUE(app.Sync() && GetWindowLongA(app.Control(kIdGameList), GWL_STYLE) & WS_VSCROLL);
  // Restore stores exactly the list's bytes (no NUL) and shows them alone.
  app.Click(kIdRestore);
  EXPECT_EQ(GetReg(kBattleNetKey, kServerListValue), (RegValue{REG_SZ, kDefaultServerList}));
  EXPECT_EQ(app.Count(kIdGameList), 8);
  // Add asks twice (Cancel: no text); Del wants a selection, its box gives back the focus. The
  // input box, on the screen over the disabled window: typing goes to its field, below the
  // prompt, inside the box; the prompt left of the buttons.
  app.Click(kIdAddPrivateServer);
  HWND box = nullptr;  // shown once the program waits for the player
  ASSERT_TRUE(WaitFor([&] { return box = FindWindowOf(app.pi.dwProcessId, "#32770"); }));
  const RECT b = rect(box), p = rect(GetDlgItem(box, 0xFFFF)), e = rect(GetDlgItem(box, 0x100));
  EXPECT_TRUE(app.Focus() == GetDlgItem(box, 0x100) && IsWindowVisible(GetDlgItem(box, 0x100)) &&
              !IsWindowEnabled(app.main) && p.right < rect(GetDlgItem(box, IDOK)).left &&
              p.bottom <= e.top && e.top < e.bottom && e.left < e.right && e.right < b.right &&
              e.bottom < b.bottom && b.right - b.left < GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(app.Answer(IDOK, "abc.example.org"), "Gantrel|Enter server address");
  EXPECT_EQ(app.Answer(IDCANCEL, "Ladder"), "Gantrel|Enter description of server");
  EXPECT_EQ(app.Rows(kIdPrivateList), "127.0.0.1\nabc.example.org\nlocalhost\n");
  app.Click(kIdDeletePrivateServer);
  EXPECT_EQ(app.Answer(), "Gantrel|You must select a server before attempting to delete it");
  EXPECT_EQ(app.Focus(), app.Control(kIdDeletePrivateServer));
  app.Send(kIdPrivateList, LB_SETCURSEL, 2);
  app.Click(kIdDeletePrivateServer);
  app.Click(kIdSavePrivateList);
  EXPECT_EQ(ReadFileBytes(windir + "\\gantrel.ini"), "127.0.0.1\r\nabc.example.org\r\n");
  // A press on a tab header shows its page and clears both selections.
  app.Send(kIdGameList, LB_SETCURSEL, 1), app.Send(kIdPrivateList, LB_SETCURSEL, 0);
  app.Click(kIdTabs, true, 12, 8);
  EXPECT_EQ(app.Send(kIdGameList, LB_GETCURSEL) + app.Send(kIdPrivateList, LB_GETCURSEL), -2);
  EXPECT_TRUE(IsWindowVisible(app.Control(kIdGameList)));
  PostMessageA(app.main, WM_CLOSE, 0, 0);  // closing the window ends the program
  DWORD code = WaitForSingleObject(app.pi.hProcess, 5000);
  EXPECT_TRUE(code == WAIT_OBJECT_0 && GetExitCodeProcess(app.pi.hProcess, &code) && code == 0);
}

TEST(MainWindow, LaunchesAndTheWebLink) {
  const auto nul = [](const auto& s) { return std::regex_replace(s, std::regex("\\|"), "\0"s); };
  const auto record = [](const std::string& copy) {  // start folder, show state, command line
    WaitFor([&] { return ReadFileBytes(copy + ".record").has_value(); });
    return ReadFileBytes(copy + ".record").value_or("(none)");
  };
  const std::string dir = Folder("launch"), sc = dir + "\\Program Files\\Starcraft";
  const std::string diablo = dir + "\\Program Files\\Diablo", game = diablo + "\\Diablo.exe";
  for (const auto& f : {dir + "\\Program Files", sc, diablo}) CreateDirectoryA(f.c_str(), nullptr);
  const auto stub = std::filesystem::path(_pgmptr).replace_filename("stub_game.exe");
  for (const auto& exe : {sc + "\\BROOD.EXE", game, dir + "\\web.exe"})  // the games, a browser
    ASSERT_TRUE(CopyFileA(stub.string().c_str(), exe.c_str(), 0));
  SetReg(kStarcraftKey, "Brood War", {REG_SZ, "1"});
  SetReg("SOFTWARE\\Blizzard Entertainment\\Archives", "DiabloInstall", {REG_SZ, diablo});
  SetReg(kGatewaysKey, kGatewaysValue, {REG_BINARY, nul("1001|01|a.example|8|A||")},
         HKEY_CURRENT_USER);
  SetReg(kGatewaysKey, kOverrideGatewaysValue,
         {REG_MULTI_SZ, nul("1001|01|x.example|0|X|GW.Example|6|Games||")}, HKEY_CURRENT_USER);
  Gantrel app = Open(dir, {REG_SZ, "gw.example;127.0.0.1"});
  // Wine's reg.exe stores the install folder with a closing NUL, which must stay out of paths.
  std::system(
      ("reg add \"HKLM\\"s + kStarcraftKey + "\" /f /v InstallPath /d \"" + sc + '"').data());
  // Brood War through the shell, hidden, in its install folder; the list's first server added to
  // one gateway list and selected in the other, types kept.
  app.Click(kIdStarcraftFromGameList);
  EXPECT_EQ(record(sc + "\\BROOD.EXE").substr(0, sc.size() + 3), sc + "\n0\n");
  EXPECT_EQ(GetReg(kGatewaysKey, kGatewaysValue, HKEY_CURRENT_USER),  // zone: TZ=JST-9
            (RegValue{REG_BINARY, nul("1001|02|a.example|8|A|gw.example|-9|gw.example||")}));
  EXPECT_EQ(GetReg(kGatewaysKey, kOverrideGatewaysValue, HKEY_CURRENT_USER),
            (RegValue{REG_MULTI_SZ, nul("1001|02|x.example|0|X|GW.Example|6|Games||")}));
  // Diablo: minimized, in our own start folder, its path quoted on the command line. A missing
  // gateway list is made from the games' own; one of over 64 KiB is not certainly one: left alone.
  app.Send(kIdGameList, LB_SETCURSEL, 1);
  std::string big = "1001|01|";
  for (int i = 0; i < 50; ++i) big += "h|0|" + std::string(1400, 'n') + "|";
  SetReg(kGatewaysKey, kGatewaysValue, {REG_NONE, ""}, HKEY_CURRENT_USER);
  SetReg(kGatewaysKey, kOverrideGatewaysValue, {REG_BINARY, nul(big + "|")}, HKEY_CURRENT_USER);
  app.Click(kIdDiabloFromGameList);
  EXPECT_EQ(record(game), std::filesystem::current_path().string() + "\n2\n\"" + game + '"');
  EXPECT_EQ(GetReg(kGatewaysKey, kGatewaysValue, HKEY_CURRENT_USER).first, REG_MULTI_SZ);
  EXPECT_EQ(GetReg(kGatewaysKey, kOverrideGatewaysValue, HKEY_CURRENT_USER).second, nul(big + "|"));
  SetReg("SOFTWARE\\Blizzard Entertainment\\Archives", "DiabloInstall", {REG_SZ, dir});
  app.Click(kIdDiabloFromGameList);
  EXPECT_NE(app.Answer(), "");  // a folder without Diablo.exe: the start fails, a box says so
  // Ctrl+Shift+Tab to the About page: the pointer is a hand over the links, not over the text
  // (the shape each asks for when the system tells it the pointer moved over it).
  EXPECT_TRUE(app.Press({VK_CONTROL, VK_SHIFT, VK_TAB}, app.Control(kIdTabs)) &&
              app.Tab() == kAboutTab);
  const auto shape = [&](HWND h) {  // the window itself: an arrow again
    SendMessageW(h, WM_SETCURSOR, (WPARAM)h, HTCLIENT);
    CURSORINFO ci{sizeof ci, 0, nullptr, {}};
    return GetCursorInfo(&ci) ? ci.hCursor : nullptr;
  };
  const HCURSOR text = shape(app.Control(kIdWebPrompt)), web = shape(app.Control(kIdWebLink));
  EXPECT_TRUE(web != text && web == shape(app.Control(kIdEmailLink)) && shape(app.main) == text);
  // The web link hands its address to the handler registered for http; with none, a box says so.
  for (const DWORD type : {REG_SZ, REG_NONE})
    SetReg("http\\shell\\open\\command", "", {type, '"' + dir + "\\web.exe\" \"%1\"\0"s},
           HKEY_CLASSES_ROOT), app.Click(kIdWebLink, true);
  EXPECT_TRUE(record(dir + "\\web.exe").ends_with(" \"http://gantrel.example.org/\""));
  EXPECT_EQ(app.Answer(),
            "Can't open URL|Sorry! An internal error prevents spawning your browser|icon");
}

TEST(MainWindow, HostileInput) {
  std::string big(1 << 20, 'a'), high, noise, odd = "d\rb\na\r\n\n\r\rc\n\re\r\nf\0hid\r\n\0g\n"s;
  Rows many{big}, lines, oddRows{"", "a", "b", "c", "d", "e", "f"}, highRows(4);
  for (int i = 0; i < 40000; ++i) big += ";h" + std::to_string(100000 + i);
  for (int i = 0; i + 1 < kMaxRows; ++i) many.push_back("h" + std::to_string(100000 + i));
  for (int b = 0x80; b <= 0xFF; ++b) highRows[(b - 0x80) / 32] += static_cast<char>(b);
  for (const std::string& r : highRows) high += (high.empty() ? "" : ";") + r;
  for (const std::string& r : {"long" + std::string(600, 'x'), "long" + std::string(70000, 'y')})
    odd += r + "\r\n", oddRows.push_back(r);
  // 5 MB: 100,000 lines of random bytes but CR, LF and NUL behind a number. The first 32,767 load.
  for (uint32_t i = 0, x = 1; i < 100000; ++i, noise += "\r\n") {
    std::string line = std::to_string(1100000 - i) + ' ';
    for (int n = 0; n < 50; ++n) line += static_cast<char>(((x = x * 69069 + 1) >> 24) % 242 + 14);
    if (i < kMaxRows) lines.insert(lines.begin(), line);  // the private list sorts them
    noise += line;
  }
  // A file in the list's order with rows equal but for letter case, and rows out of order: they
  // must sort as a sorted list box (in the lists' font) sorts them added one by one.
  Rows ties{"a", "B", "b", "A", "c", "C", "b", "d"}, tiesSorted;
  const HWND box = CreateWindowA("LISTBOX", "", LBS_SORT, 0, 0, 0, 0, HWND_MESSAGE, 0, 0, 0);
  const UniqueFont font = MakeFont(Font(FontKind::ListFont), ScreenDpi());
  SendMessageA(box, WM_SETFONT, (WPARAM)font.Get(), 0);
  for (const std::string& r : ties) SendMessageA(box, LB_ADDSTRING, 0, (LPARAM)r.c_str());
  for (int i = 0; i < (int)ties.size(); ++i) tiesSorted.push_back(TextOf(box, LB_GETTEXT, i));
  // Each case starts over a "Server Version" that is not the DWORD 1; the program makes it one.
  const RegValue versions[] = {{REG_SZ, "1"}, {REG_DWORD, "\1"}, {REG_BINARY, {"\1\0\0\0", 4}}};
  enum Save { kNo, kDone, kNoDir };
  const std::tuple<DWORD, std::string, std::optional<std::string>, Rows, Rows, Save> cases[] = {
      {REG_SZ, big, "kept\r\n", many, {"kept"}, kDone},  // a 1 MB entry, then 40,000 entries
      {REG_SZ, high, odd, highRows, oddRows, kDone},
      {REG_BINARY, "127.0.0.1;localhost", {}, {""}, {""}, kNoDir},  // none, no "windir" either
      {REG_SZ, "127.0.0.1", noise, {"127.0.0.1"}, lines, kNo},
      {REG_SZ, "x", "a\r\nB\r\nb\r\nA\r\nc\r\nC\r\nb\r\nd\r\n", {"x"}, tiesSorted, kNo},
  };
  for (int n = 0; const auto& [type, value, file, game, priv, save] : cases) {
    SCOPED_TRACE(value.substr(0, 20));
    const std::string windir = save == kNoDir ? "" : Folder("hostile");
    SetReg(kBattleNetKey, kServerVersionValue, versions[n++ % 3]);
    Gantrel app = Open(windir, {type, value}, file);
    ASSERT_TRUE(app.Sync()) << "no window, or it does not answer";
    if (priv.size() == kMaxRows)  // a full list takes no more
      app.Click(kIdAddPrivateServer), app.Answer(IDOK, "0"), app.Answer(IDOK, "");
    // In the lists' font, a scroll bar once the rows outgrow the list; long lists are sampled.
    for (const auto& [list, want] : {std::pair{kIdGameList, game}, {kIdPrivateList, priv}}) {
      ASSERT_EQ(app.Count(list), static_cast<int>(want.size()));
      EXPECT_EQ(app.Send(list, LB_GETITEMHEIGHT), SendMessageA(box, LB_GETITEMHEIGHT, 0, 0));
      EXPECT_EQ(GetWindowLongA(app.Control(list), GWL_STYLE) & WS_VSCROLL,
                want.size() > 20 ? WS_VSCROLL : 0);
      for (size_t i = 0; i < want.size(); i += want.size() / 100 + 1)
        EXPECT_TRUE(app.Row(list, static_cast<int>(i)) == app.Shown(want[i]))
            << list << " row " << i;
    }
    const std::string saved = save == kDone ? app.Rows(kIdPrivateList, "\r\n") : file.value_or("");
    if (save != kNo) app.Click(kIdSavePrivateList);
    EXPECT_EQ(app.Answer(IDOK, nullptr, 500).substr(0, 50),
              save == kNoDir ? "Gantrel|The private server list could not be saved" : "");
    EXPECT_EQ(GetReg(kBattleNetKey, kServerVersionValue), (RegValue{REG_DWORD, {"\1\0\0\0", 4}}));
    EXPECT_EQ(ReadFileBytes(windir + "\\gantrel.ini").value_or(""), saved);
  }
}

// Only through tools/netns-run, against its responder (tools/icmp_responder/echo_script.txt),
// also as a player ($GANTREL_PLAYER) whom the system may refuse echo requests: a box then says
// why, and only the hosts whose game port answers are measured, by TCP.
TEST(MainWindow, DISABLED_PingRuns) {
  // Echo replies: localhost 5 ms, .2 40 ms, .6 at once, .7 20 ms, .10 25 ms, .4 .8 .9 none. Game
  // port: .8 60 ms, .10 10 ms, .9 no answer, the others closed.
  const std::string hosts = "127.0.0.4;127.0.0.2;localhost;127.0.0.9;127.0.0.8;127.0.0.6;" +
                            std::string(300, 'n') + ";127.0.0.10;1.2.3;;999.1.1.1; 127.0.0.6";
  Gantrel app = Open(Folder("ping"), {REG_SZ, hosts},
                     "127.0.0.2    Forty\n127.0.0.4 Silent\n127.0.0.7\n127.0.0.8    Game port\n"
                     "no-such-host.invalid\n");
  const bool refused = getenv("GANTREL_PLAYER") && getenv("GANTREL_PLAYER") == "refused"s;
  const std::string why = refused ? R"(Gantrel\|This system does not let Gantrel send ping )"
                                    R"(requests[\s\S]*net\.ipv4\.ping_group_range=[\s\S]*)"
                                  : "";
  // Each row as "text=item data"; the game list fastest first, the rows without reply after them
  // in their order.
  const char* const allowedGame[] = {
      R"(127\.0\.0\.6 {13} \[([1-9]|10) ms\]=\1)",   R"(localhost {13} \[([5-9]|1\d) ms\]=\1)",
      R"(127\.0\.0\.10 {12} \[(2[5-9]|3[0-5]) ms\]=\1)", R"(127\.0\.0\.2 {13} \[(4\d|50) ms\]=\1)",
      R"(127\.0\.0\.8 {13} \[(6\d|70) ms TCP\]=\1)",  R"(127\.0\.0\.4 {13} \[N/A\]=9999)",
      R"(127\.0\.0\.9 {13} \[N/A\]=9999)",
  };
  const char* const refusedGame[] = {
      R"(127\.0\.0\.10 {12} \[(1\d|20) ms TCP\]=\1)", R"(127\.0\.0\.8 {13} \[(6\d|70) ms TCP\]=\1)",
      R"(127\.0\.0\.4 {13} \[N/A\]=9999)",          R"(127\.0\.0\.2 {13} \[N/A\]=9999)",
      R"(localhost {13} \[N/A\]=9999)",             R"(127\.0\.0\.9 {13} \[N/A\]=9999)",
      R"(127\.0\.0\.6 {13} \[N/A\]=9999)",
  };
  const char* const lastGameRows[] = {R"(n{300} \[N/A\]=9999)", R"(1\.2\.3 {17} \[N/A\]=9999)",
                                      R"( {22} \[N/A\]=9999)", R"(999\.1\.1\.1 {13} \[N/A\]=9999)",
                                      R"( {22} \[N/A\]=9999)"};
  // The private list in its order, every suffix at column 42; its item data stays 0.
  const char* const privateRows[] = {
      R"(127\.0\.0\.2    Forty {24} \[(4\d|50) ms\]=0)", R"(127\.0\.0\.4 Silent {26} \[N/A\]=0)",
      R"(127\.0\.0\.7 {33} \[(2\d|30) ms\]=0)",           R"(127\.0\.0\.8    Game port {20} \[(6\d|70) ms TCP\]=0)",
      R"(no-such-host\.invalid {22} \[N/A\]=0)"};
  std::vector<std::string> game(std::begin(refused ? refusedGame : allowedGame),
                                std::end(refused ? refusedGame : allowedGame));
  game.insert(game.end(), std::begin(lastGameRows), std::end(lastGameRows));
  std::vector<std::string> mine(std::begin(privateRows), std::end(privateRows));
  for (std::string& row : mine)
    if (refused && row.find(R"( ms\])") != std::string::npos)
      row = std::regex_replace(row, std::regex(R"(\\\[\(\S+ ms\\\])"), R"(\[N/A\])");
  const std::tuple<int, int, std::vector<std::string>, std::string, int> runs[] = {
      {kIdPingGameList, kIdGameList, game, why, -1},
      {kIdPingPrivateList, kIdPrivateList, mine,
       "Sondar-ICMPEcho\\|Winsock Error 1100[1-4]" + why, 1}};
  app.Send(kIdPrivateList, LB_SETCURSEL, 1);
  SetWindowPos(app.main, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const auto& [button, list, rows, boxes, selected] : runs) {
    const ULONGLONG start = GetTickCount64();
    app.Click(button);  // handled at the run's first yield
    // The busy window, its own size centred over the main window, which is disabled; it stays
    // until the run ends.
    const HWND busy = FindWindowOf(app.pi.dwProcessId, "GantrelMessage");
    RECT b{}, c{}, m{};
    GetWindowRect(busy, &b), GetClientRect(busy, &c), GetWindowRect(app.main, &m);
    EXPECT_EQ(c.right, TwipsToPixels(kBusyWidthTwips, ScreenDpi()));
    EXPECT_EQ(c.bottom, TwipsToPixels(kBusyHeightTwips, ScreenDpi()));
    EXPECT_LT(std::abs(b.left + b.right - m.left - m.right) +
                  std::abs(b.top + b.bottom - m.top - m.bottom), 3);
    EXPECT_EQ(TextOf(GetDlgItem(busy, kIdBusyText)), "Pinging Servers...");
    EXPECT_FALSE(IsWindowEnabled(app.main));
    EXPECT_EQ(SendMessageA(busy, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(busy));
    std::string said;
    const auto answering = [&] {
      return said += app.Answer(IDOK, nullptr, 0), IsWindowEnabled(app.main);
    };
    EXPECT_TRUE(WaitFor(answering, 60000) && app.Sync());
    EXPECT_FALSE(IsWindow(busy));
    // Refused requests cost no time: only the host silent both ways waits its 2.25 s.
    EXPECT_LT(GetTickCount64() - start, refused && list == kIdGameList ? 4500u : 60000u);
    EXPECT_TRUE(std::regex_match(said, std::regex(boxes))) << said;
    ASSERT_EQ(app.Count(list), static_cast<int>(rows.size()));
    for (int i = 0; i < app.Count(list); ++i) {
      const std::string row =
          app.Row(list, i) + "=" + std::to_string(app.Send(list, LB_GETITEMDATA, i));
      EXPECT_TRUE(std::regex_match(row, std::regex(rows[i]))) << row;
    }
    EXPECT_EQ(app.Send(list, LB_GETCURSEL), selected);
  }
}

}  // namespace gantrel::driver
