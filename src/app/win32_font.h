#pragma once
#include <windows.h>

#include <utility>

#include "app/frm_main_layout.h"

namespace gantrel {

// A GDI font owned by one window; deleted with it.
class UniqueFont {
 public:
  UniqueFont() = default;
  explicit UniqueFont(HFONT font) : font_(font) {}
  UniqueFont(UniqueFont&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
  UniqueFont& operator=(UniqueFont&& other) noexcept {
    if (this != &other) {
      Reset();
      font_ = std::exchange(other.font_, nullptr);
    }
    return *this;
  }
  UniqueFont(const UniqueFont&) = delete;
  UniqueFont& operator=(const UniqueFont&) = delete;
  ~UniqueFont() { Reset(); }
  HFONT Get() const { return font_; }

 private:
  void Reset() {
    if (font_) DeleteObject(font_);
    font_ = nullptr;
  }
  HFONT font_ = nullptr;
};

inline UniqueFont MakeFont(const FontSpec& spec, int dpi) {
  return UniqueFont(CreateFontA(-MulDiv(spec.hundredthsOfPoint, dpi, 7200), 0, 0, 0,
                                spec.bold ? FW_BOLD : FW_NORMAL, spec.italic, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY,
                                spec.fixedPitch ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS,
                                spec.face));
}

// The dots per inch of the screen (the program is system-DPI aware).
inline int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

}  // namespace gantrel
