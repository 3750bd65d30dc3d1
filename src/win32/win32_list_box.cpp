#include "win32_list_box.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace gantrel {

// Every row comes in through Add or AddRows, which stop at kMaxRows: counts and indices fit, and
// no selection reads as LB_ERR, which is -1.
int16_t Win32ListBox::Count() const { return static_cast<int16_t>(Send(LB_GETCOUNT)); }

int16_t Win32ListBox::Selected() const { return static_cast<int16_t>(Send(LB_GETCURSEL)); }

// Read in the control's own wide form and converted here, as the ANSI message would be: Wine
// converts an ANSI LB_GETTEXT through a fixed 512-character buffer, and a longer row overruns it.
// One message a row, not two (the length first), into one buffer kept for every read: a full
// list saves in a third of the time. A row that is not there reads as empty.
std::wstring_view Win32ListBox::WideRow(int16_t row) const {
  buffer_.resize(longest_ + 1);
  const LRESULT got = SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(buffer_.data()));
  return {buffer_.data(), static_cast<size_t>(std::max<LRESULT>(got, 0))};
}

// Converted straight onto the end of `text`; no code page takes more than 3 bytes a UTF-16 unit.
void Win32ListBox::AppendRow(int16_t row, std::string& text) const {
  const std::wstring_view wide = WideRow(row);
  const size_t at = text.size();
  text.resize(at + wide.size() * 3);
  text.resize(at + static_cast<size_t>(WideCharToMultiByte(
                       CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data() + at,
                       static_cast<int>(wide.size() * 3), nullptr, nullptr)));
}

std::string Win32ListBox::Row(int16_t row) const {
  std::string text;
  AppendRow(row, text);
  return text;
}

std::string Win32ListBox::RowsText(std::string_view end) const {
  std::string text;
  for (int16_t row = 0, count = Count(); row < count; ++row) {
    AppendRow(row, text);
    text += end;
  }
  return text;
}

// A shown list box redraws itself at every change, which under Wine costs milliseconds a row:
// an import or a sort of thousands of rows would take minutes. Drawing is held back until the
// window's messages are next handled -- after the operation, or at the next yield of a ping run,
// so that a run still shows each row as soon as it is measured.
void Win32ListBox::Freeze() {
  if (std::exchange(frozen_, true)) return;
  Send(WM_SETREDRAW, FALSE);
  PostMessageA(notify_, kThawListMessage, {}, {});
}

void Win32ListBox::Thaw() {
  if (!std::exchange(frozen_, false)) return;
  Send(WM_SETREDRAW, TRUE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32ListBox::Put(size_t bytes) {
  Freeze();
  longest_ = std::max(longest_, bytes);
}

LRESULT Win32ListBox::Insert(UINT msg, WPARAM at, const std::string& text) {
  Put(text.size());
  return Send(msg, at, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32ListBox::SetRow(int16_t row, const std::string& text) {
  // An insert at an index is never re-sorted, so the row keeps its place even in a sorted list.
  const auto at = static_cast<WPARAM>(row);
  const LRESULT data = Send(LB_GETITEMDATA, at);
  const bool selected = Send(LB_GETCURSEL) == row;
  Send(LB_DELETESTRING, at);
  if (Insert(LB_INSERTSTRING, at, text) < 0) return;
  Send(LB_SETITEMDATA, at, data);
  if (selected) Send(LB_SETCURSEL, at);
}

int32_t Win32ListBox::ItemData(int16_t row) const {
  return static_cast<int32_t>(Send(LB_GETITEMDATA, static_cast<WPARAM>(row)));
}

void Win32ListBox::SetItemData(int16_t row, int32_t data) {
  Send(LB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(data));
}

void Win32ListBox::Add(const std::string& text) {
  if (Send(LB_GETCOUNT) >= kMaxRows) return;
  Insert(LB_ADDSTRING, {}, text);  // a new row's item data starts at 0
}

// Added one by one, each row costs a sorted list box a binary search of its own comparisons:
// most of a second for a full list. A row that sorts after every row in the list is put at the
// end directly, which is where that search puts it; every other row, an equal one included, is
// still placed by the list box. So a file saved in the list's order loads with one comparison a
// row, and the order is always the list box's own.
int16_t Win32ListBox::AddRows(const std::vector<std::string_view>& rows) {
  const size_t total = std::min(rows.size(), static_cast<size_t>(kMaxRows));  // into an empty list
  // Room for the rows at once rather than a few at a time; the texts' room is the list box's own.
  Send(LB_INITSTORAGE, total);
  // The list box's own rule: the locale's order, letter case ignored, a failure counting as less.
  const bool sorted = (GetWindowLongA(hwnd_, GWL_STYLE) & LBS_SORT) != 0;
  const LCID locale = static_cast<LCID>(Send(LB_GETLOCALE));
  std::optional<std::wstring> greatest;  // the last row, while it is known to be the greatest
  int16_t added = 0;
  for (std::wstring text; static_cast<size_t>(added) < total; ++added) {
    const std::string_view row = rows[static_cast<size_t>(added)];
    const int n = static_cast<int>(row.size());
    text.assign(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, row.data(), n, nullptr, 0)),
                L'\0');
    MultiByteToWideChar(CP_ACP, 0, row.data(), n, text.data(), static_cast<int>(text.size()));
    // -1: each up to its first NUL, where the list box ends a row too.
    const bool atEnd = !sorted || !greatest ||
                       CompareStringW(locale, NORM_IGNORECASE, greatest->c_str(), -1, text.c_str(),
                                      -1) == CSTR_LESS_THAN;
    Put(row.size());
    // An insert at an index is never sorted; -1 is the end.
    const auto data = reinterpret_cast<LPARAM>(text.c_str());
    if ((atEnd ? SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(-1), data)
               : SendMessageW(hwnd_, LB_ADDSTRING, {}, data)) < 0)
      break;
    if (atEnd) greatest = std::move(text);
  }
  return added;
}

// One redraw each: a single row goes, or the list empties before a fill that holds drawing back.
void Win32ListBox::Remove(int16_t row) { Send(LB_DELETESTRING, static_cast<WPARAM>(row)); }

void Win32ListBox::Clear() { Send(LB_RESETCONTENT); }

void Win32ListBox::Deselect(int16_t row) {
  if (Send(LB_GETCURSEL) == row) Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
}

}  // namespace gantrel
