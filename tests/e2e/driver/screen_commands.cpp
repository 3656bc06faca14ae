// Driver commands that look at the screen: which standard icon a message box shows.
// A box's icon cannot be asked through the API, so its pixels on screen are compared with the standard icons
// drawn by the driver at the same size on the same background.
#include "driver.h"

#include <cstdlib>
#include <vector>

namespace driver {

namespace {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<DWORD> data;  // top-down rows of 0x00RRGGBB
};

// Runs `paint` on a memory DC holding a width x height 32-bit bitmap and returns its pixels.
template <typename Paint>
Pixels PaintPixels(int width, int height, Paint paint) {
  Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  paint(memory, screen);
  GdiFlush();
  const DWORD* source = static_cast<const DWORD*>(bits);
  pixels.data.assign(source, source + width * height);
  for (DWORD& pixel : pixels.data) pixel &= 0x00FFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Mean absolute difference per colour channel, 0 (same) to 255.
double Difference(const Pixels& a, const Pixels& b) {
  long long total = 0;
  for (size_t i = 0; i < a.data.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      total += std::abs(static_cast<int>((a.data[i] >> shift) & 255) - static_cast<int>((b.data[i] >> shift) & 255));
    }
  }
  return a.data.empty() ? 255.0 : static_cast<double>(total) / (a.data.size() * 3);
}

struct IconSearch {
  HWND found = nullptr;
};

BOOL CALLBACK FindIconStatic(HWND child, LPARAM param) {
  char name[32] = "";
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
      IsWindowVisible(child)) {
    reinterpret_cast<IconSearch*>(param)->found = child;
    return FALSE;
  }
  return TRUE;
}

std::string Score(double value) {
  char text[32];
  snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

void AddScreenCommands(CommandTable& table) {
  // box_icon BOX -> NAME EXCLAMATION STOP INFORMATION QUESTION LEFT TOP RIGHT BOTTOM
  // NAME is the standard icon whose drawing differs least from the box's icon on screen (a difference below 8
  // of 255), or "unknown"; then the four differences and the icon's screen rectangle. "none": no icon control.
  table["box_icon"] = {1, [](const Args& a) {
    IconSearch search;
    EnumChildWindows(a.Window(0), FindIconStatic, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return Fields{"none"};
    RECT client = {};
    GetClientRect(search.found, &client);
    POINT origin = {0, 0};
    ClientToScreen(search.found, &origin);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return Fields{"none"};
    Pixels shown = PaintPixels(width, height, [&](HDC memory, HDC screen) {
      BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    });
    const DWORD background = shown.data[0];  // icon corners are transparent: this is the box's background
    struct Candidate {
      const char* name;
      LPCSTR id;
    };
    const Candidate candidates[] = {{"exclamation", IDI_EXCLAMATION},
                                    {"stop", IDI_HAND},
                                    {"information", IDI_ASTERISK},
                                    {"question", IDI_QUESTION}};
    Fields scores;
    std::string best = "unknown";
    double bestScore = 8.0;
    for (const Candidate& candidate : candidates) {
      HICON icon = LoadIconA(nullptr, candidate.id);
      Pixels drawn = PaintPixels(width, height, [&](HDC memory, HDC) {
        HBRUSH brush = CreateSolidBrush(RGB((background >> 16) & 255, (background >> 8) & 255, background & 255));
        RECT all = {0, 0, width, height};
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
      });
      double score = Difference(shown, drawn);
      scores.push_back(Score(score));
      if (score < bestScore) {
        bestScore = score;
        best = candidate.name;
      }
    }
    Fields fields{best};
    fields.insert(fields.end(), scores.begin(), scores.end());
    for (long long value : {origin.x, origin.y, origin.x + width, origin.y + height}) fields.push_back(Num(value));
    return fields;
  }};
}

}  // namespace driver
