// Draws the launcher's status lines over its background as Windows draws
// them (in the default GUI font), and writes each line's rectangle as a
// binary PPM picture. The text goes in as UTF-16 (DrawTextW), so a launcher
// that gets its Big5 strings or the code page wrong does not match. Fails when a line leaves no ink.
//   version-line-reference BACKGROUND.bmp OUTPUT.ppm VERSION
//     the version line "版本：VERSION" in (7,430)-(157,445);
//   version-line-reference BACKGROUND.bmp --progress FOLDER
//     the progress lines "目前已下載：N %" for N from 0 to 100, right-aligned
//     in (480,430)-(630,445), as FOLDER/N.ppm.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                    static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return wide;
}

// The bitmap's pixels, top-down, as 0x00RRGGBB.
std::vector<std::uint32_t> Pixels(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

bool WriteLine(const char* backgroundFile, const std::string& line, RECT rect, UINT format, const std::string& output) {
  auto* bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, backgroundFile, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (bitmap == nullptr) {
    std::fprintf(stderr, "version-line-reference: cannot load %s\n", backgroundFile);
    return false;
  }
  BITMAP size{};
  GetObject(bitmap, sizeof size, &size);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  const std::vector<std::uint32_t> before = Pixels(dc, bitmap, size.bmWidth, size.bmHeight);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  const std::wstring text = Wide(line);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  SelectObject(dc, old);
  const std::vector<std::uint32_t> after = Pixels(dc, bitmap, size.bmWidth, size.bmHeight);
  DeleteDC(dc);
  DeleteObject(bitmap);

  std::ofstream out(output, std::ios::binary);
  out << "P6\n" << rect.right - rect.left << " " << rect.bottom - rect.top << "\n255\n";
  int ink = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const std::uint32_t p = after[static_cast<std::size_t>(y) * size.bmWidth + x];
      ink += p != before[static_cast<std::size_t>(y) * size.bmWidth + x];
      out.put(static_cast<char>(p >> 16 & 0xFF)).put(static_cast<char>(p >> 8 & 0xFF)).put(static_cast<char>(p & 0xFF));
    }
  }
  if (ink == 0 || !out) {
    std::fprintf(stderr, "version-line-reference: %s: %s\n", output.c_str(),
                 ink == 0 ? "the line left no ink" : "cannot write the picture");
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: version-line-reference BACKGROUND.bmp OUTPUT.ppm VERSION | --progress FOLDER\n");
    return 2;
  }
  const std::string mode = argv[2];
  bool written = true;
  if (mode == "--progress") {
    for (int percent = 0; percent <= 100 && written; ++percent) {
      written = WriteLine(argv[1], "目前已下載：" + std::to_string(percent) + " %", RECT{480, 430, 630, 445},
                          DT_VCENTER | DT_RIGHT, std::string(argv[3]) + "/" + std::to_string(percent) + ".ppm");
    }
  } else {
    written = WriteLine(argv[1], std::string("版本：") + argv[3], RECT{7, 430, 157, 445}, DT_VCENTER, mode);
  }
  return written ? 0 : 1;
}
