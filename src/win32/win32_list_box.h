#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "list_box.h"

namespace gantrel {

// Posted to the window named in Attach: draw the list again (Thaw).
constexpr UINT kThawListMessage = WM_APP;

// The real LISTBOX control (single selection; sorted or not, as created).
class Win32ListBox : public ListBox {
 public:
  // Changes are drawn once the `notify` window's messages are next handled: the window must call
  // Thaw on kThawListMessage.
  void Attach(HWND hwnd, HWND notify) {
    hwnd_ = hwnd;
    notify_ = notify;
  }
  HWND Handle() const { return hwnd_; }
  void Thaw();

  int16_t Count() const override;
  int16_t Selected() const override;
  std::string Row(int16_t row) const override;
  std::string RowsText(std::string_view end) const override;
  void SetRow(int16_t row, const std::string& text) override;
  int32_t ItemData(int16_t row) const override;
  void SetItemData(int16_t row, int32_t data) override;
  void Add(const std::string& text) override;
  int16_t AddRows(const std::vector<std::string_view>& rows) override;
  void Remove(int16_t row) override;
  void Clear() override;
  void Deselect(int16_t row) override;

 private:
  LRESULT Send(UINT msg, WPARAM w = {}, LPARAM l = {}) const {
    return SendMessageA(hwnd_, msg, w, l);
  }
  std::wstring_view WideRow(int16_t row) const;
  void AppendRow(int16_t row, std::string& text) const;
  void Freeze();
  // Every row's text goes in through Put: Insert for one row, AddRows for a fill.
  void Put(size_t bytes);
  LRESULT Insert(UINT msg, WPARAM at, const std::string& text);
  HWND hwnd_ = nullptr;
  HWND notify_ = nullptr;
  bool frozen_ = false;
  // The longest text (in bytes, so in UTF-16 units at most) put into the control: each row of it
  // comes through here, so this bounds what LB_GETTEXT copies.
  size_t longest_ = 0;
  mutable std::wstring buffer_;
};

}  // namespace gantrel
