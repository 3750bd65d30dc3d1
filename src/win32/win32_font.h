#pragma once
#include "main_window_layout.h"
#include "win32_handle.h"

namespace gantrel {

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
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace gantrel
