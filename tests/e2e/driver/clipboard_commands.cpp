// Driver commands on the clipboard: acting as another program that copies text or an image, and reading it back.
#include "driver.h"

#include <cstring>

namespace driver {

namespace {

// Another program (Varno itself) may hold the clipboard open for a moment: retry for a while.
void OpenClipboardOrFail() {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (OpenClipboard(DriverWindow())) return;
    PumpMessages(10);
  }
  throw Failure(LastErrorText("OpenClipboard"));
}

struct ClipboardSession {
  ClipboardSession() { OpenClipboardOrFail(); }
  ~ClipboardSession() { CloseClipboard(); }
};

HGLOBAL CopyToGlobal(const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) throw Failure(LastErrorText("GlobalAlloc"));
  void* target = GlobalLock(block);
  memcpy(target, data, size);
  GlobalUnlock(block);
  return block;
}

void PutOnClipboard(UINT format, HGLOBAL block) {
  if (!SetClipboardData(format, block)) {
    GlobalFree(block);
    throw Failure(LastErrorText("SetClipboardData"));
  }
}

}  // namespace

void AddClipboardCommands(CommandTable& table) {
  // clip_set_text BYTES: the clipboard then holds exactly these bytes as CF_TEXT (plus the NUL)
  table["clip_set_text"] = {1, [](const Args& a) {
    const std::string& text = a.Str(0);
    ClipboardSession session;
    EmptyClipboard();
    PutOnClipboard(CF_TEXT, CopyToGlobal(text.c_str(), text.size() + 1));
    return Fields{};
  }};
  // clip_get_text -> PRESENT BYTES   (the CF_TEXT data up to its NUL; PRESENT 0 when there is no text)
  table["clip_get_text"] = {0, [](const Args&) {
    ClipboardSession session;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return Fields{"0", ""};
    const char* text = static_cast<const char*>(GlobalLock(data));
    if (!text) return Fields{"0", ""};
    std::string copy(text, strnlen(text, GlobalSize(data)));
    GlobalUnlock(data);
    return Fields{"1", copy};
  }};
  // clip_set_image: the clipboard then holds a small bitmap (CF_DIB) and no text
  table["clip_set_image"] = {0, [](const Args&) {
    const int side = 8;
    std::string dib(sizeof(BITMAPINFOHEADER) + side * side * 4, '\0');
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(&dib[0]);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = side;
    header->biHeight = side;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    auto* pixels = reinterpret_cast<DWORD*>(&dib[sizeof(BITMAPINFOHEADER)]);
    for (int i = 0; i < side * side; ++i) pixels[i] = (i % 3 == 0) ? 0x00FF0000 : 0x000000FF;
    ClipboardSession session;
    EmptyClipboard();
    PutOnClipboard(CF_DIB, CopyToGlobal(dib.data(), dib.size()));
    return Fields{};
  }};
  table["clip_empty"] = {0, [](const Args&) {
    ClipboardSession session;
    EmptyClipboard();
    return Fields{};
  }};
  // clip_formats -> FORMAT...   (the formats on the clipboard, in enumeration order)
  table["clip_formats"] = {0, [](const Args&) {
    ClipboardSession session;
    Fields fields;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
      fields.push_back(Num(static_cast<long long>(format)));
    }
    return fields;
  }};
  table["clip_sequence"] = {0, [](const Args&) {
    return Fields{Num(static_cast<long long>(GetClipboardSequenceNumber()))};
  }};
}

}  // namespace driver
