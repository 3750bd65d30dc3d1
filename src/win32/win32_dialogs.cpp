#include "win32_dialogs.h"

#include <cstring>
#include <vector>

namespace gantrel {
namespace {

struct InputBoxData {
  const std::string* prompt;
  std::string text;
};

// Appends a UTF-16 text to a dialog template (our texts are plain ASCII).
void AppendText(std::vector<WORD>& t, const char* s) {
  while (*s) t.push_back(static_cast<unsigned char>(*s++));
  t.push_back(0);
}

void AlignToDword(std::vector<WORD>& t) {
  if (t.size() % 2) t.push_back(0);
}

void AppendItem(std::vector<WORD>& t, DWORD style, short x, short y, short cx, short cy, WORD id,
                WORD atom, const char* text) {
  AlignToDword(t);
  DLGITEMTEMPLATE item{};
  item.style = style | WS_CHILD | WS_VISIBLE;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.id = id;
  const WORD* raw = reinterpret_cast<const WORD*>(&item);
  t.insert(t.end(), raw, raw + sizeof(item) / sizeof(WORD));
  t.push_back(0xFFFF);  // predefined class by atom
  t.push_back(atom);
  AppendText(t, text);
  t.push_back(0);  // no creation data
}

std::vector<WORD> InputBoxTemplate() {
  std::vector<WORD> t;
  DLGTEMPLATE dlg{};
  dlg.style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  dlg.cdit = 4;
  dlg.cx = 240;
  dlg.cy = 84;
  const WORD* raw = reinterpret_cast<const WORD*>(&dlg);
  t.insert(t.end(), raw, raw + sizeof(dlg) / sizeof(WORD));
  t.push_back(0);  // no menu
  t.push_back(0);  // standard dialog class
  AppendText(t, kAppTitle);
  t.push_back(8);  // point size
  AppendText(t, "MS Shell Dlg");
  constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;
  AppendItem(t, SS_LEFT | SS_NOPREFIX, 6, 6, 172, 50, static_cast<WORD>(kIdInputPrompt), kStatic, "");
  AppendItem(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 184, 6, 50, 14, IDOK, kButton, "OK");
  AppendItem(t, BS_PUSHBUTTON | WS_TABSTOP, 184, 24, 50, 14, IDCANCEL, kButton, "Cancel");
  AppendItem(t, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 6, 64, 228, 13, kIdInputEdit, kEdit, "");
  return t;
}

INT_PTR CALLBACK InputBoxProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* data = reinterpret_cast<InputBoxData*>(lParam);
      SetWindowLongPtrA(dlg, DWLP_USER, lParam);
      SetDlgItemTextA(dlg, kIdInputPrompt, data->prompt->c_str());
      SetFocus(GetDlgItem(dlg, kIdInputEdit));
      return FALSE;  // focus set here
    }
    case WM_COMMAND: {
      auto* data = reinterpret_cast<InputBoxData*>(GetWindowLongPtrA(dlg, DWLP_USER));
      if (LOWORD(wParam) == IDOK) {
        HWND edit = GetDlgItem(dlg, kIdInputEdit);
        std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
        data->text = text;
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      break;
    }
  }
  return FALSE;
}

}  // namespace

// The dialog manager leaves an owner disabled when it found it so: a box shown during a ping run
// does not enable the main window again when it closes.
void Win32Dialogs::MsgBox(const std::string& text, const std::string& title, MsgIcon icon) {
  UINT flags = MB_OK | (icon == MsgIcon::Critical ? MB_ICONSTOP : 0u);
  MessageBoxA(owner_, text.c_str(), title.c_str(), flags);
}

std::string Win32Dialogs::InputBox(const std::string& prompt) {
  static const std::vector<WORD> kTemplate = InputBoxTemplate();
  InputBoxData data{&prompt, {}};
  INT_PTR r = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                      reinterpret_cast<LPCDLGTEMPLATEA>(kTemplate.data()), owner_,
                                      InputBoxProc, reinterpret_cast<LPARAM>(&data));
  return r == IDOK ? data.text : std::string();
}

}  // namespace gantrel
