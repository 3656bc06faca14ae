// Driver commands for Varno's capture: clipboard viewers of the driver's own in the chain, copies carrying extra
// formats, holding the clipboard open, and the timed copy stream and memory figures of the capture benchmark.
#include "driver.h"

#include <algorithm>
#include <cstring>

#include <psapi.h>

namespace driver {

namespace {

// One viewer of the driver's own: a well-behaved member of the chain that counts the notices it receives.
struct Viewer {
  HWND window = nullptr;
  HWND next = nullptr;
  long long notices = 0;
  DWORD lastSequence = 0;
};

std::map<long long, Viewer> g_viewers;
long long g_nextViewer = 1;
bool g_clipboardHeld = false;

const char kViewerClass[] = "VarnoE2EViewer";

Viewer* ViewerOf(HWND window) {
  for (auto& entry : g_viewers) {
    if (entry.second.window == window) return &entry.second;
  }
  return nullptr;
}

LRESULT CALLBACK ViewerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Viewer* viewer = ViewerOf(window);
  if (viewer != nullptr && message == WM_DRAWCLIPBOARD) {
    ++viewer->notices;
    viewer->lastSequence = GetClipboardSequenceNumber();
    if (viewer->next) SendMessageA(viewer->next, WM_DRAWCLIPBOARD, wParam, lParam);
    return 0;
  }
  if (viewer != nullptr && message == WM_CHANGECBCHAIN) {
    HWND removed = reinterpret_cast<HWND>(wParam);
    if (removed == viewer->next) {
      viewer->next = reinterpret_cast<HWND>(lParam);
    } else if (viewer->next) {
      SendMessageA(viewer->next, WM_CHANGECBCHAIN, wParam, lParam);
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A clipboard owner of the driver's own that renders its text only when asked (delayed rendering), the way
// Wine's X11 bridge offers an X11 program's copy. When asked to render, and when told that it lost the
// clipboard, it first sends a repeated WM_DRAWCLIPBOARD to g_nudged, as a second notice of the bridge can come
// while a viewer waits for the text.
HWND g_renderer = nullptr;
std::string g_rendered;
HWND g_nudged = nullptr;

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto nudge = [] {
    DWORD_PTR ignored = 0;
    if (g_nudged) SendMessageTimeoutA(g_nudged, WM_DRAWCLIPBOARD, 0, 0, SMTO_NORMAL, 5000, &ignored);
  };
  switch (message) {
  case WM_RENDERFORMAT:
    nudge();
    if (wParam == CF_TEXT) {
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, g_rendered.size() + 1);
      if (block) {
        std::memcpy(GlobalLock(block), g_rendered.c_str(), g_rendered.size() + 1);
        GlobalUnlock(block);
        if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
      }
    }
    return 0;
  case WM_DESTROYCLIPBOARD:
    nudge();
    g_nudged = nullptr;  // no longer the owner: nothing more to render
    return 0;
  case WM_RENDERALLFORMATS:
    return 0;
  default:
    return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND Renderer() {
  if (!g_renderer) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RendererWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VarnoE2ERenderer";
    RegisterClassA(&windowClass);
    g_renderer = CreateWindowExA(0, windowClass.lpszClassName, "varno e2e renderer", WS_POPUP, 0, 0, 1, 1,
                                 HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    if (!g_renderer) throw Failure(LastErrorText("CreateWindowEx"));
  }
  return g_renderer;
}

Viewer& RequireViewer(const Args& args) {
  auto found = g_viewers.find(args.Int(0));
  if (found == g_viewers.end()) throw Failure("no viewer " + args.Str(0));
  return found->second;
}

void OpenClipboardOrFail() {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (OpenClipboard(DriverWindow())) return;
    PumpMessages(10);
  }
  throw Failure(LastErrorText("OpenClipboard"));
}

HGLOBAL GlobalCopy(const std::string& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!block) throw Failure(LastErrorText("GlobalAlloc"));
  if (!bytes.empty()) {
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  return block;
}

// Replaces the clipboard's content by `text` as CF_TEXT, in one open-empty-set-close: one change, one notice.
void CopyText(const std::string& text) {
  OpenClipboardOrFail();
  EmptyClipboard();
  HGLOBAL block = GlobalCopy(std::string(text.c_str(), text.size() + 1));
  if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
  CloseClipboard();
}

std::string CaptionOf(HWND window) {
  char text[64] = "";
  int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

// Waits about 50 microseconds: polling a caption this often measures to a tenth of a millisecond without
// keeping the Wine server so busy that the window being measured waits for it.
void PauseBriefly() {
  using DelayFunction = LONG(WINAPI*)(BOOLEAN, LARGE_INTEGER*);
  static auto delay = reinterpret_cast<DelayFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDelayExecution")));
  LARGE_INTEGER interval;
  interval.QuadPart = -500;  // relative, in units of 100 ns
  if (delay != nullptr)
    delay(FALSE, &interval);
  else
    SwitchToThread();
}

long long Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  return (to.QuadPart - from.QuadPart) * 1000000 / frequency.QuadPart;
}

}  // namespace

void AddViewerCommands(CommandTable& table) {
  // viewer_join -> ID HWND: a new viewer of the driver's own joins the chain at its head
  table["viewer_join"] = {0, [](const Args&) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA windowClass = {};
      windowClass.lpfnWndProc = ViewerWindowProc;
      windowClass.hInstance = GetModuleHandleA(nullptr);
      windowClass.lpszClassName = kViewerClass;
      RegisterClassA(&windowClass);
      registered = true;
    }
    long long id = g_nextViewer++;
    Viewer& viewer = g_viewers[id];
    viewer.window = CreateWindowExA(0, kViewerClass, "varno e2e viewer", WS_POPUP, 0, 0, 1, 1, HWND_MESSAGE,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!viewer.window) {
      g_viewers.erase(id);
      throw Failure(LastErrorText("CreateWindowEx"));
    }
    // A notice sent while joining finds `next` still empty, as in any viewer; it is counted like the others.
    viewer.next = SetClipboardViewer(viewer.window);
    return Fields{Num(id), Num(viewer.window)};
  }};
  // clip_viewer -> HWND: the head of the clipboard viewer chain (0 when the chain is empty)
  table["clip_viewer"] = {0, [](const Args&) { return Fields{Num(GetClipboardViewer())}; }};
  // clip_who -> OWNER OWNER_CLASS OPEN_WINDOW OPEN_CLASS: who owns the clipboard and who has it open now
  table["clip_who"] = {0, [](const Args&) {
    auto classOf = [](HWND window) {
      char name[256] = "";
      if (window) GetClassNameA(window, name, sizeof name);
      return std::string(name);
    };
    HWND owner = GetClipboardOwner();
    HWND open = GetOpenClipboardWindow();
    return Fields{Num(owner), classOf(owner), Num(open), classOf(open)};
  }};
  // viewer_notices ID -> COUNT LAST_SEQUENCE NEXT_HWND
  table["viewer_notices"] = {1, [](const Args& a) {
    PumpMessages(0);
    const Viewer& viewer = RequireViewer(a);
    return Fields{Num(viewer.notices), Num(static_cast<long long>(viewer.lastSequence)), Num(viewer.next)};
  }};
  // viewer_leave ID: the viewer leaves the chain (and its window goes)
  table["viewer_leave"] = {1, [](const Args& a) {
    Viewer& viewer = RequireViewer(a);
    ChangeClipboardChain(viewer.window, viewer.next);
    DestroyWindow(viewer.window);
    g_viewers.erase(a.Int(0));
    return Fields{};
  }};
  // clip_set_with TEXT NAME BYTES [NAME BYTES]...: one copy of TEXT (CF_TEXT) together with registered formats
  table["clip_set_with"] = {3, [](const Args& a) {
    if (a.Count() % 2 != 1) throw Failure("clip_set_with TEXT followed by NAME BYTES pairs");
    OpenClipboardOrFail();
    EmptyClipboard();
    const std::string& text = a.Str(0);
    HGLOBAL textBlock = GlobalCopy(std::string(text.c_str(), text.size() + 1));
    if (!SetClipboardData(CF_TEXT, textBlock)) GlobalFree(textBlock);
    for (size_t i = 1; i + 1 < a.Count(); i += 2) {
      UINT format = RegisterClipboardFormatA(a.Str(i).c_str());
      HGLOBAL block = GlobalCopy(a.Str(i + 1));
      if (!format || !SetClipboardData(format, block)) GlobalFree(block);
    }
    CloseClipboard();
    return Fields{};
  }};
  // clip_set_delayed TEXT NUDGED_HWND: one copy of TEXT as CF_TEXT rendered only when a program asks for it; the
  // owner sends NUDGED_HWND (0: nobody) a repeated WM_DRAWCLIPBOARD before it renders and when it loses the
  // clipboard
  table["clip_set_delayed"] = {2, [](const Args& a) {
    HWND owner = Renderer();
    for (int attempt = 0; !OpenClipboard(owner); ++attempt) {
      if (attempt == 200) throw Failure(LastErrorText("OpenClipboard"));
      PumpMessages(10);
    }
    g_nudged = nullptr;  // not while taking over the clipboard ourselves
    EmptyClipboard();
    g_rendered = a.Str(0);
    g_nudged = a.Window(1);
    SetClipboardData(CF_TEXT, nullptr);
    CloseClipboard();
    return Fields{};
  }};
  // clip_hold / clip_release: the driver keeps the clipboard open in between, so nobody else can open it
  table["clip_hold"] = {0, [](const Args&) {
    if (!g_clipboardHeld) OpenClipboardOrFail();
    g_clipboardHeld = true;
    return Fields{};
  }};
  table["clip_release"] = {0, [](const Args&) {
    if (g_clipboardHeld) CloseClipboard();
    g_clipboardHeld = false;
    return Fields{};
  }};
  // copy_stream HWND COUNT TEXT CLEAR_EVERY -> TOTAL_US MEAN_US P50_US P95_US MAX_US MISSED MISSED_US
  // (the latency figures are of the copies taken in)
  // Copies TEXT COUNT times; after each copy waits (up to 5 s) until the caption of HWND changes, which is when
  // that window has taken the copy in. A copy whose caption change does not come in time is MISSED; MISSED_US is
  // the time spent waiting for those. Every CLEAR_EVERY copies (0: never) it chooses Clear buffer (system
  // command 3) on HWND and waits for the caption "0 bytes". The clears are not counted in the latencies but are
  // in the total.
  table["copy_stream"] = {4, [](const Args& a) {
    HWND window = a.Window(0);
    if (!IsWindow(window)) throw Failure("no window " + a.Str(0));
    long long count = a.Int(1);
    const std::string& text = a.Str(2);
    long long clearEvery = a.Int(3);
    std::vector<long long> latencies;
    latencies.reserve(static_cast<size_t>(count));
    long long missed = 0;
    long long missedTime = 0;
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    for (long long i = 0; i < count; ++i) {
      if (clearEvery > 0 && i > 0 && i % clearEvery == 0) {
        PostMessageA(window, WM_SYSCOMMAND, 3, 0);
        DWORD began = GetTickCount();
        while (CaptionOf(window) != "0 bytes" && GetTickCount() - began < 5000) PauseBriefly();
      }
      std::string before = CaptionOf(window);
      LARGE_INTEGER copied;
      QueryPerformanceCounter(&copied);
      CopyText(text);
      for (;;) {
        QueryPerformanceCounter(&now);
        if (CaptionOf(window) != before) {
          latencies.push_back(Microseconds(copied, now));
          break;
        }
        if (Microseconds(copied, now) > 5000000) {
          ++missed;
          missedTime += Microseconds(copied, now);
          break;
        }
        PauseBriefly();
      }
    }
    QueryPerformanceCounter(&now);
    long long total = Microseconds(start, now);
    std::sort(latencies.begin(), latencies.end());
    long long sum = 0;
    for (long long value : latencies) sum += value;
    size_t n = latencies.size();
    return Fields{Num(total), Num(n ? sum / static_cast<long long>(n) : 0), Num(n ? latencies[n / 2] : 0),
                  Num(n ? latencies[std::min(n - 1, n * 95 / 100)] : 0), Num(n ? latencies[n - 1] : 0),
                  Num(missed), Num(missedTime)};
  }};
  // process_memory PID -> PRIVATE_BYTES WORKING_SET PEAK_WORKING_SET
  table["process_memory"] = {1, [](const Args& a) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, static_cast<DWORD>(a.Int(0)));
    if (!process) throw Failure(LastErrorText("OpenProcess"));
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    BOOL ok = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    CloseHandle(process);
    if (!ok) throw Failure(LastErrorText("GetProcessMemoryInfo"));
    return Fields{Num(static_cast<long long>(counters.PrivateUsage)),
                  Num(static_cast<long long>(counters.WorkingSetSize)),
                  Num(static_cast<long long>(counters.PeakWorkingSetSize))};
  }};
}

}  // namespace driver
