// Starts gantrel.exe on the current display, shows each of its four tabs in turn and saves a
// picture of the window for each as tab<N>.bmp in the folder given as the one argument.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gantrel_driver.h"

using gantrel::driver::Gantrel;

namespace {

bool SaveWindowPicture(HWND hwnd, const std::string& path) {
  RECT r;
  GetWindowRect(hwnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  DWORD stride = static_cast<DWORD>((w * 3 + 3) & ~3);
  DWORD size = stride * static_cast<DWORD>(h);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
  fh.bfSize = fh.bfOffBits + size;
  bool ok = false;
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 &&
         std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
         std::fwrite(bits, 1, size, f) == size;
    std::fclose(f);
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gui_shots OUTDIR\n");
    return 2;
  }
  const char* windir = std::getenv("windir");
  Gantrel app(windir ? windir : "");
  if (!app.main) {
    std::fprintf(stderr, "gantrel.exe did not open its window\n");
    return 1;
  }
  SetForegroundWindow(app.main);
  for (int tab = 0; tab < 4; ++tab) {
    for (int x = 6; x < 400 && app.Tab() != tab; x += 6) app.Click(gantrel::kIdTabs, true, x, 8);
    app.Sync();
    Sleep(700);  // let the X server show the page
    std::string path = std::string(argv[1]) + "\\tab" + std::to_string(tab) + ".bmp";
    if (app.Tab() != tab || !SaveWindowPicture(app.main, path)) {
      std::fprintf(stderr, "could not picture tab %d\n", tab);
      return 1;
    }
  }
  return 0;
}
