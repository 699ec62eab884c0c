// The window system as the toolkit uses it: windows with procedures that receive numbered
// messages, properties, sending and posting across threads, message loops, timers, capture,
// cursor, focus, caret, input-method text, clipboard, work area, top-most state and the
// presenting of a 32-bit ARGB frame.
//
// A window belongs to the thread that created it; its procedure always runs there. Posting
// from any thread appends to the owner's queue and wakes its loop. Sending from another thread
// blocks until the owner has run the procedure (the sender meanwhile answers messages sent to
// itself); sending to one's own thread calls the procedure directly.
//
// A backend (headless or X11) must be chosen explicitly before the first window is made.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "ui/core/geometry.h"
#include "ui/core/gfx/bitmap.h"
#include "ui/core/gfx/region.h"
#include "ui/core/window/messages.h"

namespace lw::ws {

class Backend;

using WindowProc = std::function<LResult(Hwnd, Message, WParam, LParam)>;
using TimerProc = std::function<void(Hwnd, Message, uintptr_t id, uint32_t time)>;

struct Msg {
  Msg() = default;
  Msg(Hwnd h, Message m, WParam w, LParam l) : hwnd(h), message(m), wparam(w), lparam(l) {}
  Hwnd hwnd = 0;
  Message message = 0;
  WParam wparam = 0;
  LParam lparam = 0;
  uint32_t time = 0;
  // Carried with the message: the committed text of WM_IME_COMPOSITION (GBK), the routine of a
  // WM_TIMER whose timer has one.
  std::shared_ptr<const std::string> ime_text;
  TimerProc timer_proc;
};

// --- Choosing the backend -------------------------------------------------------------------

// Installs `backend` as the window system. Returns false when one is installed already.
bool InstallBackend(std::unique_ptr<Backend> backend);
// Destroys every window and removes the backend (for tests and the end of the program).
void ShutdownWindowSystem();
bool HasBackend();
Backend* CurrentBackend();

// --- Classes and windows --------------------------------------------------------------------

struct WindowClassInfo {
  std::string name;
  uint32_t style = CS_DBLCLKS;
  WindowProc proc;                 // empty: DefWindowProc
  int cursor = 32512;              // the arrow
  std::vector<gfx::Bitmap> icons;  // the program's icon in several sizes
};
bool RegisterClass(const WindowClassInfo& info);
bool IsClassRegistered(std::string_view name);

struct CreateParams {
  std::string class_name;
  std::string title;  // GBK
  uint32_t style = 0;
  uint32_t ex_style = 0;
  RectI rect;  // screen pixels
  Hwnd owner = 0;
};
// 0 when the class is unknown or no backend is installed.
Hwnd CreateWindow(const CreateParams& params);
bool DestroyWindow(Hwnd hwnd);
bool IsWindow(Hwnd hwnd);
Hwnd GetOwner(Hwnd hwnd);
// The thread the window belongs to (a default id for no window).
std::thread::id GetWindowThread(Hwnd hwnd);

// The procedure now in use; SetWindowProc answers the one it replaces.
WindowProc GetWindowProc(Hwnd hwnd);
WindowProc SetWindowProc(Hwnd hwnd, WindowProc proc);
LResult CallWindowProc(const WindowProc& proc, Hwnd hwnd, Message m, WParam w, LParam l);
// What a window does with a message nobody handled.
LResult DefWindowProc(Hwnd hwnd, Message m, WParam w, LParam l);

uint32_t GetStyle(Hwnd hwnd);
uint32_t GetExStyle(Hwnd hwnd);
// Replace the styles; WM_STYLECHANGED follows.
void SetStyle(Hwnd hwnd, uint32_t style);
void SetExStyle(Hwnd hwnd, uint32_t ex_style);

bool ShowWindow(Hwnd hwnd, int command);  // answers whether it was visible before
bool IsWindowVisible(Hwnd hwnd);
bool IsZoomed(Hwnd hwnd);
bool IsIconic(Hwnd hwnd);
RectI GetWindowRect(Hwnd hwnd);  // screen pixels
bool MoveWindow(Hwnd hwnd, const RectI& rect);
void SetTopmost(Hwnd hwnd, bool topmost);
bool IsTopmost(Hwnd hwnd);

bool SetWindowText(Hwnd hwnd, std::string_view text);  // GBK, through WM_SETTEXT
std::string GetWindowText(Hwnd hwnd);
void SetWindowIcons(Hwnd hwnd, const std::vector<gfx::Bitmap>& icons);
const std::vector<gfx::Bitmap>& GetWindowIcons(Hwnd hwnd);

// The window's shape, in window pixels; nullopt: the whole rectangle.
void SetWindowRegion(Hwnd hwnd, std::optional<gfx::Region> region);
std::optional<gfx::Region> GetWindowRegion(Hwnd hwnd);

// Asks for WM_PAINT over `rect` (nullopt: the whole window).
void InvalidateRect(Hwnd hwnd, std::optional<RectI> rect = std::nullopt);
// Between the two: the part to paint (window pixels); EndPaint validates it.
RectI BeginPaint(Hwnd hwnd);
void EndPaint(Hwnd hwnd);

bool SetForegroundWindow(Hwnd hwnd);
Hwnd GetForegroundWindow();
// The topmost visible window of ours at a screen point, or 0.
Hwnd WindowFromPoint(int x, int y);

// --- Properties -----------------------------------------------------------------------------

bool SetProp(Hwnd hwnd, std::string_view name, uintptr_t value);
uintptr_t GetProp(Hwnd hwnd, std::string_view name);  // 0 when absent
uintptr_t RemoveProp(Hwnd hwnd, std::string_view name);

// --- Messages -------------------------------------------------------------------------------

LResult SendMessage(Hwnd hwnd, Message m, WParam w, LParam l);
bool PostMessage(Hwnd hwnd, Message m, WParam w, LParam l);
void PostQuitMessage(int code);

// Waits for the next message of the calling thread (answering sent messages meanwhile);
// false on WM_QUIT.
bool GetMessage(Msg& msg);
// The next message if there is one, without waiting.
bool PeekMessage(Msg& msg, bool remove = true);
void TranslateMessage(const Msg& msg);  // characters are delivered by the backend already
LResult DispatchMessage(const Msg& msg);
// Dispatches every message that is pending now.
void ProcessPendingMessages();
// Dispatches messages as they come until `deadline` (window-system time, GetTickCount
// milliseconds) or until `done` says so, looked at after every batch of messages and at least
// every few milliseconds; answers whether `done` ended it.
bool ProcessMessagesUntil(uint64_t deadline, const std::function<bool()>& done = {});

// Milliseconds of the window system's clock (the headless backend's is virtual).
uint64_t GetTickCount();

// --- Timers ---------------------------------------------------------------------------------

bool SetTimer(Hwnd hwnd, uintptr_t id, uint32_t interval_ms, TimerProc proc = {});
bool KillTimer(Hwnd hwnd, uintptr_t id);

// --- Mouse and keyboard ---------------------------------------------------------------------

Hwnd SetCapture(Hwnd hwnd);  // answers the previous capture
bool ReleaseCapture();
Hwnd GetCapture();
void SetCursor(int cursor_id);
int GetCursor();
PointI GetCursorPos();  // screen pixels
// Arms a WM_MOUSELEAVE for when the pointer leaves `hwnd`.
bool TrackMouseLeave(Hwnd hwnd);
// Negative (high bit set) while the key is down.
int16_t GetKeyState(int vk);
Hwnd SetFocus(Hwnd hwnd);  // answers the previous focus
Hwnd GetFocus();
uint32_t DoubleClickTime();

// The caret is a hint for where input-method windows open.
bool CreateCaret(Hwnd hwnd, int width, int height);
bool SetCaretPos(int x, int y);
bool DestroyCaret();
PointI GetCaretPos();

// The committed input-method text of the WM_IME_COMPOSITION being dispatched (GBK), "" else.
std::string ImeResultString(Hwnd hwnd);
// Input-method text stops reaching `hwnd` until restored (answers a token for ImeRestore).
uintptr_t ImeDisable(Hwnd hwnd);
void ImeRestore(Hwnd hwnd, uintptr_t token);
bool ImeEnabled(Hwnd hwnd);

// --- Clipboard and system values ------------------------------------------------------------

// GBK with CR LF line ends on this side.
bool SetClipboardText(std::string_view text);
std::optional<std::string> GetClipboardText();
RectI GetWorkArea();
// The desktop's font for 1 menus, 2 captions, 3 messages (UTF-8), "" when it cannot tell.
std::string InterfaceFontName(int which);

// --- Presenting -----------------------------------------------------------------------------

// Shows `frame` (the window's size, premultiplied ARGB) in the window. A layered window
// always takes the whole frame, at `alpha`; any other takes only `rect` (nullopt: all).
void PresentFrame(Hwnd hwnd, const gfx::Bitmap& frame, std::optional<RectI> rect = std::nullopt,
                  uint8_t alpha = 255);

// Ends the process at once with `code`.
[[noreturn]] void ExitProcess(int code);

// --- The input entry ------------------------------------------------------------------------
// Every backend turns each native event into one of these calls (the headless backend lets
// tests make them). Coordinates are screen pixels.
namespace input {
// The pointer moved; `over` is our window under it (0: none of ours).
void PointerMotion(Hwnd over, int x, int y);
// Button 1 left, 3 right.
void PointerButton(Hwnd over, int button, bool down, int x, int y);
// One notch is 120; positive away from the user.
void PointerWheel(Hwnd over, int delta, int x, int y);
// The pointer left `hwnd` for a window that is none of ours.
void PointerLeft(Hwnd hwnd);
// A key went down or up (virtual-key code); Alt makes it a system key.
void Key(int vk, bool down);
// Committed text (UTF-8): ASCII 28..126 arrives as WM_CHAR (WM_SYSCHAR with Alt), anything
// else as an input-method result.
void Text(std::string_view utf8);
// The system activated `hwnd` (0: a window not ours).
void Activate(Hwnd hwnd);
// What the system says is held down, when it may differ from the keys and buttons seen (a
// release that went to another program); changes nothing else.
void SyncKeyState(bool shift, bool control, bool alt, bool left, bool right);
// The system moved or resized the window.
void Configure(Hwnd hwnd, const RectI& rect);
void Exposed(Hwnd hwnd, const RectI& rect);
// The system asks the window to close (its close button, the window manager).
void CloseRequest(Hwnd hwnd);
// The system changed the window's state.
void StateChanged(Hwnd hwnd, bool zoomed, bool iconic);
}  // namespace input

}  // namespace lw::ws
