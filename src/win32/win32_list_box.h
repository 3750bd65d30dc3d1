#pragma once
#include <windows.h>

#include "list_box.h"

namespace gantrel {

// Posted to the window named in Attach: draw the list again (Thaw).
constexpr UINT kThawListMessage = WM_APP + 1;

// The real LISTBOX control (single selection; sorted or not, as created).
class Win32ListBox : public ListBox {
 public:
  explicit Win32ListBox(HWND hwnd = nullptr) : hwnd_(hwnd) {}
  // With a `notify` window, changes are drawn once the window's messages are next handled (the
  // window must call Thaw on kThawListMessage); without one, at every change.
  void Attach(HWND hwnd, HWND notify = nullptr) {
    hwnd_ = hwnd;
    notify_ = notify;
  }
  HWND Handle() const { return hwnd_; }
  void Thaw();

  int16_t Count() const override;
  int16_t Selected() const override;
  std::string Row(int16_t row) const override;
  void SetRow(int16_t row, const std::string& text) override;
  int32_t ItemData(int16_t row) const override;
  void SetItemData(int16_t row, int32_t data) override;
  bool Add(const std::string& text) override;
  void Remove(int16_t row) override;
  void Deselect(int16_t row) override;

 private:
  LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return SendMessageA(hwnd_, msg, w, l); }
  void Freeze();
  HWND hwnd_;
  HWND notify_ = nullptr;
  bool frozen_ = false;
};

}  // namespace gantrel
