#include "win32_list_box.h"

#include <string>

namespace gantrel {

int16_t Win32ListBox::Count() const {
  LRESULT n = Send(LB_GETCOUNT);
  return static_cast<int16_t>(n < 0 ? 0 : (n > kMaxRows ? kMaxRows : n));
}

int16_t Win32ListBox::Selected() const {
  LRESULT i = Send(LB_GETCURSEL);
  return static_cast<int16_t>(i < 0 || i > kMaxRows ? -1 : i);
}

std::string Win32ListBox::Row(int16_t row) const {
  // Read in the control's own wide form and converted here, as the ANSI message would be:
  // Wine converts an ANSI LB_GETTEXT through a fixed 512-character buffer, and a longer row
  // overruns it.
  LRESULT len = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
  if (len <= 0) return {};
  std::wstring wide(static_cast<size_t>(len) + 1, L'\0');
  LRESULT got = SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(wide.data()));
  if (got <= 0) return {};
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(got), nullptr, 0,
                                  nullptr, nullptr);
  std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0)
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(got), text.data(), bytes, nullptr,
                        nullptr);
  return text;
}

// A shown list box redraws itself at every change, which under Wine costs milliseconds a row:
// an import or a sort of thousands of rows would take minutes. Drawing is held back until the
// window's messages are next handled -- after the operation, or at the next yield of a ping run,
// so that a run still shows each row as soon as it is measured.
void Win32ListBox::Freeze() {
  if (frozen_ || !notify_) return;
  Send(WM_SETREDRAW, FALSE);
  frozen_ = true;
  PostMessageA(notify_, kThawListMessage, 0, reinterpret_cast<LPARAM>(hwnd_));
}

void Win32ListBox::Thaw() {
  if (!frozen_) return;
  frozen_ = false;
  Send(WM_SETREDRAW, TRUE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32ListBox::SetRow(int16_t row, const std::string& text) {
  Freeze();
  // An insert at an index is never re-sorted, so the row keeps its place even in a sorted list.
  LRESULT data = Send(LB_GETITEMDATA, static_cast<WPARAM>(row));
  bool selected = Send(LB_GETCURSEL) == row;
  Send(LB_DELETESTRING, static_cast<WPARAM>(row));
  LRESULT at = Send(LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.c_str()));
  if (at < 0) return;
  Send(LB_SETITEMDATA, static_cast<WPARAM>(at), data == LB_ERR ? 0 : data);
  if (selected) Send(LB_SETCURSEL, static_cast<WPARAM>(at));
}

int32_t Win32ListBox::ItemData(int16_t row) const {
  return static_cast<int32_t>(Send(LB_GETITEMDATA, static_cast<WPARAM>(row)));
}

void Win32ListBox::SetItemData(int16_t row, int32_t data) {
  Send(LB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(data));
}

bool Win32ListBox::Add(const std::string& text) {
  if (Send(LB_GETCOUNT) >= kMaxRows) return false;
  Freeze();
  // A new row's item data starts at 0.
  return Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) >= 0;
}

void Win32ListBox::Remove(int16_t row) {
  Freeze();
  Send(LB_DELETESTRING, static_cast<WPARAM>(row));
}

void Win32ListBox::Deselect(int16_t row) {
  if (Send(LB_GETCURSEL) == row) Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
}

}  // namespace gantrel
