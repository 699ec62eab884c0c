// The window system's core: the windows, their threads' queues, sending and posting, timers,
// capture, focus and activation, and the routing of input. Backends only show windows and
// feed native events into the input entry.
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>

#include "base/codepage.h"
#include "ui/core/window/backend.h"
#include "ui/core/window/window_system.h"

namespace lw::ws {
namespace {

// Asks a window's own thread to destroy it.
constexpr Message kDestroyRequest = 0x7FFF0001;

struct WindowRec {
  Hwnd id = 0;
  std::string class_name;
  WindowProc proc;
  uint32_t class_style = 0;
  int class_cursor = 32512;
  uint32_t style = 0;
  uint32_t ex_style = 0;
  RectI rect;
  RectI restore_rect;
  std::string text;
  Hwnd owner = 0;
  std::thread::id thread;
  bool visible = false;
  bool zoomed = false;
  bool iconic = false;
  std::map<std::string, uintptr_t, std::less<>> props;
  std::optional<gfx::Region> region;
  std::vector<gfx::Bitmap> icons;
  std::optional<RectI> invalid;
  bool ime_enabled = true;
};

struct SentCall {
  Hwnd hwnd;
  Message message;
  WParam wparam;
  LParam lparam;
  LResult result = 0;
  bool done = false;
  std::thread::id sender;
};

struct Timer {
  Hwnd hwnd;
  uintptr_t id;
  uint32_t interval;
  uint64_t due;
  TimerProc proc;
};

struct ThreadQueue {
  std::deque<Msg> posted;
  std::deque<SentCall*> sent;
  std::vector<Timer> timers;
  std::condition_variable cv;
  bool quit = false;
  int quit_code = 0;
};

struct Core {
  std::mutex mutex;
  std::unique_ptr<Backend> backend;
  std::map<std::string, WindowClassInfo, std::less<>> classes;
  std::map<Hwnd, std::unique_ptr<WindowRec>> windows;
  std::vector<Hwnd> zorder;  // bottom to top
  std::map<std::thread::id, std::shared_ptr<ThreadQueue>> queues;
  Hwnd next_id = 0x1000;
  Hwnd capture = 0, focus = 0, active = 0, leave_tracked = 0, pointer_over = 0;
  PointI cursor;
  int cursor_id = 32512;
  bool keys[256] = {};
  Hwnd last_click_hwnd = 0;
  int last_click_button = 0;
  uint64_t last_click_time = 0;
  PointI last_click_pos;
  Hwnd caret_hwnd = 0;
  PointI caret_pos;
  uintptr_t next_ime_token = 1;
};

Core& C() {
  static Core* core = new Core();  // lives as long as the process
  return *core;
}

thread_local std::shared_ptr<const std::string> t_ime_text;
thread_local Hwnd t_ime_hwnd = 0;

// The calling thread's queue, made on first use and dropped when the thread ends.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder();
};
thread_local QueueHolder t_queue;

std::shared_ptr<ThreadQueue> QueueLocked(Core& c) {
  if (!t_queue.queue) {
    t_queue.queue = std::make_shared<ThreadQueue>();
    c.queues[std::this_thread::get_id()] = t_queue.queue;
  }
  return t_queue.queue;
}

WindowRec* Find(Core& c, Hwnd h) {
  auto it = c.windows.find(h);
  return it == c.windows.end() ? nullptr : it->second.get();
}

void WakeLocked(Core& c, std::thread::id thread) {
  auto it = c.queues.find(thread);
  if (it != c.queues.end()) it->second->cv.notify_all();
  if (c.backend) c.backend->Wake(thread);
}

bool PostLocked(Core& c, Msg msg) {
  WindowRec* w = Find(c, msg.hwnd);
  if (!w) return false;
  auto it = c.queues.find(w->thread);
  if (it == c.queues.end()) return false;
  if (c.backend) msg.time = static_cast<uint32_t>(c.backend->Now());
  it->second->posted.push_back(std::move(msg));
  WakeLocked(c, w->thread);
  return true;
}

QueueHolder::~QueueHolder() {
  if (!queue) return;
  Core& c = C();
  std::vector<Hwnd> mine;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    // Senders still waiting on this thread get 0.
    for (SentCall* call : queue->sent) {
      call->done = true;
      WakeLocked(c, call->sender);
    }
    queue->sent.clear();
    c.queues.erase(std::this_thread::get_id());
    for (auto& [id, w] : c.windows) {
      if (w->thread == std::this_thread::get_id()) mine.push_back(id);
    }
  }
  // A thread's windows end with it.
  for (Hwnd h : mine)
    DestroyWindow(h);
}

// Waits, unlocked, until something may have arrived or `deadline` (backend time).
void WaitLocked(Core& c, std::unique_lock<std::mutex>& lock, ThreadQueue& q, uint64_t deadline) {
  Backend* b = c.backend.get();
  if (!b) return;
  lock.unlock();
  bool served = b->WaitOnThisThread(deadline);
  lock.lock();
  if (served) return;
  if (!q.posted.empty() || !q.sent.empty() || q.quit) return;
  if (deadline != kForever && b->SkipsTime()) {
    b->SkipTo(deadline);
    return;
  }
  if (deadline == kForever) {
    q.cv.wait(lock);
  } else {
    uint64_t now = b->Now();
    if (deadline > now) q.cv.wait_for(lock, std::chrono::milliseconds(deadline - now));
  }
}

LResult CallProc(Hwnd h, Message m, WParam w, LParam l);

// Runs the calls other threads sent to this one.
void AnswerSentLocked(Core& c, std::unique_lock<std::mutex>& lock, ThreadQueue& q) {
  while (!q.sent.empty()) {
    SentCall* call = q.sent.front();
    q.sent.pop_front();
    lock.unlock();
    LResult r = CallProc(call->hwnd, call->message, call->wparam, call->lparam);
    lock.lock();
    call->result = r;
    call->done = true;
    WakeLocked(c, call->sender);
  }
}

bool IsPointerMessage(Message m) {
  return m >= WM_MOUSEMOVE && m <= WM_RBUTTONDBLCLK;
}

bool NextMessage(Msg& out, bool wait, bool remove) {
  Core& c = C();
  std::unique_lock<std::mutex> lock(c.mutex);
  auto q = QueueLocked(c);
  while (true) {
    AnswerSentLocked(c, lock, *q);
    if (!q->posted.empty()) {
      out = q->posted.front();
      if (remove) q->posted.pop_front();
      if (remove && IsPointerMessage(out.message) && c.capture == 0 && Find(c, out.hwnd)) {
        // The window under the pointer chooses the cursor first.
        Hwnd h = out.hwnd;
        lock.unlock();
        SendMessage(h, WM_SETCURSOR, h,
                    MakeLParam(static_cast<int>(HTCLIENT), static_cast<int>(out.message)));
      }
      return true;
    }
    if (q->quit) {
      out = Msg{0, WM_QUIT, static_cast<WParam>(q->quit_code), 0};
      if (remove) q->quit = false;
      return true;
    }
    for (auto& [id, w] : c.windows) {
      if (w->thread == std::this_thread::get_id() && w->invalid && w->visible) {
        out = Msg{id, WM_PAINT, 0, 0};
        return true;
      }
    }
    uint64_t now = c.backend ? c.backend->Now() : 0;
    uint64_t next_due = kForever;
    for (Timer& t : q->timers) {
      if (t.due <= now) {
        out = Msg{t.hwnd, WM_TIMER, t.id, 0};
        out.time = static_cast<uint32_t>(now);
        out.timer_proc = t.proc;
        if (remove) t.due = now + std::max<uint32_t>(1, t.interval);
        return true;
      }
      next_due = std::min(next_due, t.due);
    }
    if (!wait) return false;
    WaitLocked(c, lock, *q, next_due);
  }
}

LResult CallProc(Hwnd h, Message m, WParam w, LParam l) {
  if (m == kDestroyRequest) return DestroyWindow(h) ? 1 : 0;
  WindowProc proc;
  {
    Core& c = C();
    std::lock_guard<std::mutex> lock(c.mutex);
    WindowRec* rec = Find(c, h);
    if (!rec) return 0;
    proc = rec->proc;
  }
  return proc ? proc(h, m, w, l) : DefWindowProc(h, m, w, l);
}

// Delivers to the window at once on its own thread, else through its queue.
void Deliver(Hwnd h, Message m, WParam w, LParam l) {
  Core& c = C();
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    WindowRec* rec = Find(c, h);
    if (!rec) return;
    if (rec->thread != std::this_thread::get_id()) {
      PostLocked(c, Msg{h, m, w, l});
      return;
    }
  }
  CallProc(h, m, w, l);
}

void Raise(Core& c, Hwnd h) {
  auto it = std::find(c.zorder.begin(), c.zorder.end(), h);
  if (it != c.zorder.end()) c.zorder.erase(it);
  c.zorder.push_back(h);
}

WParam KeyStateLocked(Core& c) {
  WParam s = 0;
  if (c.keys[VK_LBUTTON]) s |= MK_LBUTTON;
  if (c.keys[VK_RBUTTON]) s |= MK_RBUTTON;
  if (c.keys[VK_SHIFT]) s |= MK_SHIFT;
  if (c.keys[VK_CONTROL]) s |= MK_CONTROL;
  return s;
}

void ActivateImpl(Hwnd h) {
  Core& c = C();
  Hwnd old;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    if (h && !Find(c, h)) return;
    old = c.active;
    if (old == h) return;
    c.active = h;
    c.focus = h;
    if (h) Raise(c, h);
    if (old && !Find(c, old)) old = 0;
  }
  if (old) {
    Deliver(old, WM_NCACTIVATE, 0, 0);
    Deliver(old, WM_ACTIVATE, WA_INACTIVE, static_cast<LParam>(h));
    Deliver(old, WM_KILLFOCUS, h, 0);
  }
  if (h) {
    Deliver(h, WM_NCACTIVATE, 1, 0);
    Deliver(h, WM_ACTIVATE, WA_ACTIVE, static_cast<LParam>(old));
    Deliver(h, WM_SETFOCUS, old, 0);
  }
}

std::string CrLfToLf(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::string LfToCrLf(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

void SendSizeMessage(Hwnd h) {
  RectI r = GetWindowRect(h);
  WParam kind = IsIconic(h) ? SIZE_MINIMIZED : IsZoomed(h) ? SIZE_MAXIMIZED : SIZE_RESTORED;
  Deliver(h, WM_SIZE, kind, MakeLParam(r.width(), r.height()));
}

}  // namespace

// --- Backend --------------------------------------------------------------------------------

bool InstallBackend(std::unique_ptr<Backend> backend) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (c.backend) return false;
  c.backend = std::move(backend);
  return true;
}

void ShutdownWindowSystem() {
  Core& c = C();
  std::vector<Hwnd> all;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    for (auto& [id, w] : c.windows)
      all.push_back(id);
  }
  for (Hwnd h : all)
    DestroyWindow(h);
  std::unique_ptr<Backend> gone;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    gone = std::move(c.backend);
    c.classes.clear();
    c.capture = c.focus = c.active = c.leave_tracked = c.pointer_over = 0;
    std::fill(std::begin(c.keys), std::end(c.keys), false);
    c.last_click_hwnd = 0;
    for (auto& [thread, q] : c.queues) {
      q->posted.clear();
      q->timers.clear();
      q->quit = false;
    }
  }
}

bool HasBackend() {
  std::lock_guard<std::mutex> lock(C().mutex);
  return C().backend != nullptr;
}

Backend* CurrentBackend() {
  std::lock_guard<std::mutex> lock(C().mutex);
  return C().backend.get();
}

// --- Classes and windows --------------------------------------------------------------------

bool RegisterClass(const WindowClassInfo& info) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (info.name.empty() || c.classes.count(info.name)) return false;
  c.classes[info.name] = info;
  return true;
}

bool IsClassRegistered(std::string_view name) {
  std::lock_guard<std::mutex> lock(C().mutex);
  return C().classes.find(name) != C().classes.end();
}

Hwnd CreateWindow(const CreateParams& p) {
  Core& c = C();
  Hwnd h;
  NativeWindowInfo info;
  Backend* backend;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    auto cls = c.classes.find(p.class_name);
    if (!c.backend || cls == c.classes.end()) return 0;
    auto w = std::make_unique<WindowRec>();
    h = w->id = c.next_id += 4;
    w->class_name = p.class_name;
    w->proc = cls->second.proc;
    w->class_style = cls->second.style;
    w->class_cursor = cls->second.cursor;
    w->icons = cls->second.icons;
    w->style = p.style & ~WS_VISIBLE;
    w->ex_style = p.ex_style;
    w->rect = w->restore_rect = p.rect;
    w->text = p.title;
    w->owner = Find(c, p.owner) ? p.owner : 0;
    w->thread = std::this_thread::get_id();
    info = {w->class_name,          w->style, w->ex_style, w->rect,
            GbkToUtf8Text(p.title), w->owner, w->icons};
    c.windows[h] = std::move(w);
    c.zorder.push_back(h);
    QueueLocked(c);
    backend = c.backend.get();
  }
  backend->CreateNative(h, info);
  CallProc(h, WM_CREATE, 0, 0);
  if (p.style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return h;
}

bool DestroyWindow(Hwnd h) {
  Core& c = C();
  if (!IsWindow(h)) return false;
  // Only its own thread destroys a window: another thread asks it to.
  if (GetWindowThread(h) != std::this_thread::get_id())
    return SendMessage(h, kDestroyRequest, 0, 0) != 0;
  std::vector<Hwnd> owned;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    for (auto& [id, w] : c.windows) {
      if (w->owner == h) owned.push_back(id);
    }
  }
  for (Hwnd o : owned)
    DestroyWindow(o);
  bool was_active;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    WindowRec* w = Find(c, h);
    if (!w) return false;
    w->visible = false;
    if (c.capture == h) c.capture = 0;
    if (c.focus == h) c.focus = 0;
    was_active = c.active == h;
    if (was_active) c.active = 0;
    if (c.leave_tracked == h) c.leave_tracked = 0;
    if (c.pointer_over == h) c.pointer_over = 0;
    if (c.caret_hwnd == h) c.caret_hwnd = 0;
  }
  CallProc(h, WM_DESTROY, 0, 0);
  Backend* backend;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    WindowRec* w = Find(c, h);
    if (!w) return true;
    auto q = c.queues.find(w->thread);
    if (q != c.queues.end()) {
      auto& timers = q->second->timers;
      timers.erase(
          std::remove_if(timers.begin(), timers.end(), [h](const Timer& t) { return t.hwnd == h; }),
          timers.end());
    }
    c.windows.erase(h);
    c.zorder.erase(std::remove(c.zorder.begin(), c.zorder.end(), h), c.zorder.end());
    backend = c.backend.get();
  }
  if (backend) backend->DestroyNative(h);
  return true;
}

std::thread::id GetWindowThread(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w ? w->thread : std::thread::id();
}

bool IsWindow(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  return Find(C(), h) != nullptr;
}

Hwnd GetOwner(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w ? w->owner : 0;
}

WindowProc GetWindowProc(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w ? w->proc : WindowProc();
}

WindowProc SetWindowProc(Hwnd h, WindowProc proc) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  if (!w) return {};
  WindowProc old = std::move(w->proc);
  w->proc = std::move(proc);
  return old;
}

LResult CallWindowProc(const WindowProc& proc, Hwnd h, Message m, WParam w, LParam l) {
  return proc ? proc(h, m, w, l) : DefWindowProc(h, m, w, l);
}

LResult DefWindowProc(Hwnd h, Message m, WParam w, LParam l) {
  switch (m) {
    case WM_CLOSE:
      DestroyWindow(h);
      return 0;
    case WM_SETTEXT: {
      std::lock_guard<std::mutex> lock(C().mutex);
      WindowRec* rec = Find(C(), h);
      if (!rec) return 0;
      rec->text = l ? reinterpret_cast<const char*>(l) : "";
      if (C().backend) C().backend->SetTitle(h, GbkToUtf8Text(rec->text));
      return 1;
    }
    case WM_PAINT:
      BeginPaint(h);
      EndPaint(h);
      return 0;
    case WM_SETCURSOR: {
      int cursor;
      {
        std::lock_guard<std::mutex> lock(C().mutex);
        WindowRec* rec = Find(C(), h);
        if (!rec) return 0;
        cursor = rec->class_cursor;
      }
      SetCursor(cursor);
      return 1;
    }
    case WM_SYSCOMMAND:
      switch (w & 0xFFF0) {
        case SC_MINIMIZE:
          ShowWindow(h, SW_MINIMIZE);
          return 0;
        case SC_MAXIMIZE:
          ShowWindow(h, SW_MAXIMIZE);
          return 0;
        case SC_RESTORE:
          ShowWindow(h, SW_RESTORE);
          return 0;
        case SC_CLOSE:
          PostMessage(h, WM_CLOSE, 0, 0);
          return 0;
        case SC_MOVE:
          if (auto* b = CurrentBackend()) b->BeginMoveResize(h, 0);
          return 0;
        case SC_SIZE:
          if (auto* b = CurrentBackend()) b->BeginMoveResize(h, static_cast<int>(w & 0xF));
          return 0;
      }
      return 0;
    case WM_NCLBUTTONDOWN:
      if (w == HTCAPTION && !IsZoomed(h)) {
        if (auto* b = CurrentBackend()) b->BeginMoveResize(h, 0);
      }
      return 0;
    case WM_NCACTIVATE:
      return 1;
    default:
      return 0;
  }
}

uint32_t GetStyle(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w ? w->style | (w->visible ? WS_VISIBLE : 0) | (w->zoomed ? WS_MAXIMIZE : 0) |
                 (w->iconic ? WS_MINIMIZE : 0)
           : 0;
}

uint32_t GetExStyle(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w ? w->ex_style : 0;
}

void SetStyle(Hwnd h, uint32_t style) {
  Backend* b;
  uint32_t ex;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    WindowRec* w = Find(C(), h);
    if (!w) return;
    w->style = style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
    ex = w->ex_style;
    b = C().backend.get();
  }
  if (b) b->SetStyles(h, style, ex);
  Deliver(h, WM_STYLECHANGED, static_cast<WParam>(-16), 0);
}

void SetExStyle(Hwnd h, uint32_t ex_style) {
  Backend* b;
  uint32_t style;
  bool topmost_changed;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    WindowRec* w = Find(C(), h);
    if (!w) return;
    topmost_changed = (w->ex_style ^ ex_style) & WS_EX_TOPMOST;
    w->ex_style = ex_style;
    style = w->style;
    b = C().backend.get();
  }
  if (b) {
    b->SetStyles(h, style, ex_style);
    if (topmost_changed) b->SetTopmost(h, ex_style & WS_EX_TOPMOST);
  }
  Deliver(h, WM_STYLECHANGED, static_cast<WParam>(-20), 0);
}

bool ShowWindow(Hwnd h, int command) {
  Core& c = C();
  bool was_visible, zoomed, iconic, activate = false;
  RectI rect;
  Backend* b;
  bool size_changed = false;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    WindowRec* w = Find(c, h);
    if (!w || !c.backend) return false;
    b = c.backend.get();
    was_visible = w->visible;
  }
  // The window's size limits, asked before it is shown or maximised.
  MinMaxInfo mm;
  RectI work = GetWorkArea();
  mm.max_size = {work.width(), work.height()};
  mm.max_position = {work.left, work.top};
  mm.max_track_size = {work.width(), work.height()};
  if (command != SW_HIDE) CallProc(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LParam>(&mm));
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    WindowRec* w = Find(c, h);
    if (!w) return false;
    RectI before = w->rect;
    switch (command) {
      case SW_HIDE:
        w->visible = false;
        if (c.active == h) c.active = 0;
        break;
      case SW_MAXIMIZE:
        if (!w->zoomed) w->restore_rect = w->rect;
        w->zoomed = true;
        w->iconic = false;
        w->visible = true;
        w->rect = {mm.max_position.x, mm.max_position.y, mm.max_position.x + mm.max_size.x,
                   mm.max_position.y + mm.max_size.y};
        activate = true;
        break;
      case SW_MINIMIZE:
      case SW_SHOWMINIMIZED:
        w->iconic = true;
        w->visible = true;
        break;
      case SW_RESTORE:
      case SW_SHOWNORMAL:
        if (w->iconic) {
          w->iconic = false;
        } else if (w->zoomed) {
          w->zoomed = false;
          w->rect = w->restore_rect;
        }
        w->visible = true;
        activate = true;
        break;
      case SW_SHOWNOACTIVATE:
        w->visible = true;
        break;
      default:  // SW_SHOW
        w->visible = true;
        activate = true;
    }
    if (w->visible) Raise(c, h);
    zoomed = w->zoomed;
    iconic = w->iconic;
    rect = w->rect;
    size_changed = before.width() != rect.width() || before.height() != rect.height() ||
                   command == SW_MINIMIZE || command == SW_SHOWMINIMIZED ||
                   ((command == SW_RESTORE || command == SW_SHOWNORMAL) && was_visible);
    if (command != SW_HIDE && !w->invalid) w->invalid = RectI{0, 0, rect.width(), rect.height()};
  }
  if (command != SW_HIDE) b->SetMinSize(h, mm.min_track_size.x, mm.min_track_size.y);
  b->SetState(h, zoomed, iconic);
  b->MoveNative(h, rect);
  bool visible = command != SW_HIDE;
  if (visible != was_visible) Deliver(h, WM_SHOWWINDOW, visible ? 1 : 0, 0);
  b->ShowNative(h, visible, activate && !iconic);
  if (size_changed) SendSizeMessage(h);
  if (activate && !iconic) ActivateImpl(h);
  if (iconic) {
    std::lock_guard<std::mutex> lock(c.mutex);
    if (c.active == h) c.active = 0;
  }
  return was_visible;
}

bool IsWindowVisible(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w && w->visible;
}

bool IsZoomed(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w && w->zoomed;
}

bool IsIconic(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w && w->iconic;
}

RectI GetWindowRect(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w ? w->rect : RectI{};
}

bool MoveWindow(Hwnd h, const RectI& rect) {
  Backend* b;
  RectI before;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    WindowRec* w = Find(C(), h);
    if (!w || !C().backend) return false;
    before = w->rect;
    w->rect = rect;
    if (!w->zoomed) w->restore_rect = rect;
    if (before.width() != rect.width() || before.height() != rect.height()) {
      w->invalid = RectI{0, 0, rect.width(), rect.height()};
    }
    b = C().backend.get();
  }
  b->MoveNative(h, rect);
  if (before.width() != rect.width() || before.height() != rect.height()) SendSizeMessage(h);
  if (before.left != rect.left || before.top != rect.top) {
    Deliver(h, WM_MOVE, 0, MakeLParam(rect.left, rect.top));
  }
  return true;
}

void SetTopmost(Hwnd h, bool topmost) {
  uint32_t ex = GetExStyle(h);
  ex = topmost ? ex | WS_EX_TOPMOST : ex & ~WS_EX_TOPMOST;
  SetExStyle(h, ex);
}

bool IsTopmost(Hwnd h) {
  return GetExStyle(h) & WS_EX_TOPMOST;
}

bool SetWindowText(Hwnd h, std::string_view text) {
  std::string copy(text);
  return SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LParam>(copy.c_str())) != 0;
}

std::string GetWindowText(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w ? w->text : std::string();
}

void SetWindowIcons(Hwnd h, const std::vector<gfx::Bitmap>& icons) {
  Backend* b;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    WindowRec* w = Find(C(), h);
    if (!w) return;
    w->icons = icons;
    b = C().backend.get();
  }
  if (b) b->SetIcons(h, icons);
}

const std::vector<gfx::Bitmap>& GetWindowIcons(Hwnd h) {
  static const std::vector<gfx::Bitmap> none;
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w ? w->icons : none;
}

void SetWindowRegion(Hwnd h, std::optional<gfx::Region> region) {
  Backend* b;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    WindowRec* w = Find(C(), h);
    if (!w) return;
    w->region = region;
    b = C().backend.get();
  }
  if (b) b->SetRegion(h, region);
}

std::optional<gfx::Region> GetWindowRegion(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w ? w->region : std::nullopt;
}

void InvalidateRect(Hwnd h, std::optional<RectI> rect) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  WindowRec* w = Find(c, h);
  if (!w) return;
  RectI r = rect.value_or(RectI{0, 0, w->rect.width(), w->rect.height()});
  if (w->invalid) {
    r = {std::min(r.left, w->invalid->left), std::min(r.top, w->invalid->top),
         std::max(r.right, w->invalid->right), std::max(r.bottom, w->invalid->bottom)};
  }
  w->invalid = r;
  WakeLocked(c, w->thread);
}

RectI BeginPaint(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  if (!w) return {};
  RectI r = w->invalid.value_or(RectI{});
  w->invalid.reset();
  return r;
}

void EndPaint(Hwnd) {}

bool SetForegroundWindow(Hwnd h) {
  if (!IsWindow(h)) return false;
  ActivateImpl(h);
  if (Backend* b = CurrentBackend()) b->Activate(h);
  return true;
}

Hwnd GetForegroundWindow() {
  std::lock_guard<std::mutex> lock(C().mutex);
  return C().active;
}

Hwnd WindowFromPoint(int x, int y) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  // Top-most windows first, then the others; later ones lie above earlier ones.
  for (int pass = 0; pass < 2; ++pass) {
    for (auto it = c.zorder.rbegin(); it != c.zorder.rend(); ++it) {
      WindowRec* w = Find(c, *it);
      if (!w || !w->visible || w->iconic) continue;
      if (bool(w->ex_style & WS_EX_TOPMOST) != (pass == 0)) continue;
      const RectI& r = w->rect;
      if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) continue;
      if (w->region && !w->region->Contains(float(x - r.left) + 0.5f, float(y - r.top) + 0.5f))
        continue;
      return *it;
    }
  }
  return 0;
}

// --- Properties -----------------------------------------------------------------------------

bool SetProp(Hwnd h, std::string_view name, uintptr_t value) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  if (!w) return false;
  w->props[std::string(name)] = value;
  return true;
}

uintptr_t GetProp(Hwnd h, std::string_view name) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  if (!w) return 0;
  auto it = w->props.find(name);
  return it == w->props.end() ? 0 : it->second;
}

uintptr_t RemoveProp(Hwnd h, std::string_view name) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  if (!w) return 0;
  auto it = w->props.find(name);
  if (it == w->props.end()) return 0;
  uintptr_t v = it->second;
  w->props.erase(it);
  return v;
}

// --- Messages -------------------------------------------------------------------------------

LResult SendMessage(Hwnd h, Message m, WParam w, LParam l) {
  Core& c = C();
  std::unique_lock<std::mutex> lock(c.mutex);
  WindowRec* rec = Find(c, h);
  if (!rec) return 0;
  if (rec->thread == std::this_thread::get_id()) {
    lock.unlock();
    return CallProc(h, m, w, l);
  }
  auto target = c.queues.find(rec->thread);
  if (target == c.queues.end()) return 0;
  SentCall call{h, m, w, l, 0, false, std::this_thread::get_id()};
  target->second->sent.push_back(&call);
  WakeLocked(c, rec->thread);
  auto mine = QueueLocked(c);
  while (!call.done) {
    // Answering what others send to this thread keeps two senders from waiting on each other.
    AnswerSentLocked(c, lock, *mine);
    if (call.done) break;
    mine->cv.wait(lock);
  }
  return call.result;
}

bool PostMessage(Hwnd h, Message m, WParam w, LParam l) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  return PostLocked(c, Msg{h, m, w, l});
}

void PostQuitMessage(int code) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  auto q = QueueLocked(c);
  q->quit = true;
  q->quit_code = code;
}

bool GetMessage(Msg& msg) {
  NextMessage(msg, true, true);
  return msg.message != WM_QUIT;
}

bool PeekMessage(Msg& msg, bool remove) {
  return NextMessage(msg, false, remove);
}

void TranslateMessage(const Msg&) {}

LResult DispatchMessage(const Msg& msg) {
  if (msg.message == WM_TIMER && msg.timer_proc) {
    if (IsWindow(msg.hwnd) || msg.hwnd == 0) {
      msg.timer_proc(msg.hwnd, WM_TIMER, msg.wparam, msg.time);
    }
    return 0;
  }
  auto saved_text = t_ime_text;
  Hwnd saved_hwnd = t_ime_hwnd;
  if (msg.message == WM_IME_COMPOSITION) {
    t_ime_text = msg.ime_text;
    t_ime_hwnd = msg.hwnd;
  }
  LResult r = CallProc(msg.hwnd, msg.message, msg.wparam, msg.lparam);
  t_ime_text = saved_text;
  t_ime_hwnd = saved_hwnd;
  return r;
}

void ProcessPendingMessages() {
  Msg msg;
  for (int guard = 0; guard < 100000 && PeekMessage(msg); ++guard) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wparam));  // left for the loop that owns it
      return;
    }
    DispatchMessage(msg);
  }
}

bool ProcessMessagesUntil(uint64_t deadline, const std::function<bool()>& done) {
  Core& c = C();
  while (true) {
    ProcessPendingMessages();
    if (done && done()) return true;
    std::unique_lock<std::mutex> lock(c.mutex);
    if (!c.backend || c.backend->Now() >= deadline) return false;
    auto q = QueueLocked(c);
    if (!q->posted.empty() || !q->sent.empty() || q->quit) continue;
    uint64_t until = deadline;
    for (const Timer& t : q->timers)
      until = std::min(until, t.due);
    // What `done` watches may change on another thread without waking this one: look again
    // every few milliseconds.
    if (done && !c.backend->SkipsTime()) until = std::min(until, c.backend->Now() + 5);
    WaitLocked(c, lock, *q, until);
  }
}

uint64_t GetTickCount() {
  std::lock_guard<std::mutex> lock(C().mutex);
  return C().backend ? C().backend->Now() : 0;
}

// --- Timers ---------------------------------------------------------------------------------

bool SetTimer(Hwnd h, uintptr_t id, uint32_t interval, TimerProc proc) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  WindowRec* w = Find(c, h);
  if (!w || !c.backend) return false;
  auto q = c.queues.find(w->thread);
  if (q == c.queues.end()) return false;
  auto& timers = q->second->timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [&](const Timer& t) { return t.hwnd == h && t.id == id; }),
               timers.end());
  timers.push_back(
      {h, id, interval, c.backend->Now() + std::max<uint32_t>(1, interval), std::move(proc)});
  WakeLocked(c, w->thread);
  return true;
}

bool KillTimer(Hwnd h, uintptr_t id) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  WindowRec* w = Find(c, h);
  if (!w) return false;
  auto q = c.queues.find(w->thread);
  if (q == c.queues.end()) return false;
  auto& timers = q->second->timers;
  auto before = timers.size();
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [&](const Timer& t) { return t.hwnd == h && t.id == id; }),
               timers.end());
  return timers.size() != before;
}

// --- Mouse and keyboard ---------------------------------------------------------------------

Hwnd SetCapture(Hwnd h) {
  Backend* b;
  Hwnd old;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    if (!Find(C(), h)) return 0;
    old = C().capture;
    C().capture = h;
    b = C().backend.get();
  }
  if (b) b->SetCapture(h);
  return old;
}

bool ReleaseCapture() {
  Core& c = C();
  Backend* b;
  Hwnd leave = 0;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    Hwnd was = c.capture;
    c.capture = 0;
    b = c.backend.get();
    // The pointer may have left the window while it held the capture.
    if (was && c.leave_tracked == was && c.pointer_over != was) {
      leave = was;
      c.leave_tracked = 0;
      PostLocked(c, Msg{leave, WM_MOUSELEAVE, 0, 0});
    }
  }
  if (b) b->ReleaseCapture();
  return true;
}

Hwnd GetCapture() {
  std::lock_guard<std::mutex> lock(C().mutex);
  return C().capture;
}

void SetCursor(int cursor_id) {
  Backend* b;
  Hwnd over;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    C().cursor_id = cursor_id;
    b = C().backend.get();
    over = C().capture ? C().capture : C().pointer_over;
  }
  if (b) b->SetCursor(over, cursor_id);
}

int GetCursor() {
  std::lock_guard<std::mutex> lock(C().mutex);
  return C().cursor_id;
}

PointI GetCursorPos() {
  Backend* b;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    b = C().backend.get();
  }
  if (b) {
    if (auto p = b->CursorPos()) return *p;
  }
  std::lock_guard<std::mutex> lock(C().mutex);
  return C().cursor;
}

bool TrackMouseLeave(Hwnd h) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (!Find(c, h)) return false;
  if (c.pointer_over != h && c.capture != h) {
    PostLocked(c, Msg{h, WM_MOUSELEAVE, 0, 0});
    return true;
  }
  c.leave_tracked = h;
  return true;
}

int16_t GetKeyState(int vk) {
  std::lock_guard<std::mutex> lock(C().mutex);
  if (vk < 0 || vk > 255) return 0;
  return C().keys[vk] ? static_cast<int16_t>(0x8000) : 0;
}

Hwnd SetFocus(Hwnd h) {
  Hwnd old;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    if (h && !Find(C(), h)) return 0;
    old = C().focus;
    if (old == h) return old;
    C().focus = h;
  }
  if (old && IsWindow(old)) Deliver(old, WM_KILLFOCUS, h, 0);
  if (h) Deliver(h, WM_SETFOCUS, old, 0);
  return old;
}

Hwnd GetFocus() {
  std::lock_guard<std::mutex> lock(C().mutex);
  return C().focus;
}

uint32_t DoubleClickTime() {
  return 500;
}

bool CreateCaret(Hwnd h, int, int) {
  std::lock_guard<std::mutex> lock(C().mutex);
  if (!Find(C(), h)) return false;
  C().caret_hwnd = h;
  return true;
}

bool SetCaretPos(int x, int y) {
  Backend* b;
  Hwnd h;
  PointI screen;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    h = C().caret_hwnd;
    WindowRec* w = Find(C(), h);
    if (!w) return false;
    C().caret_pos = {x, y};
    screen = {w->rect.left + x, w->rect.top + y};
    b = C().backend.get();
  }
  if (b) b->SetCaretPos(h, screen);
  return true;
}

bool DestroyCaret() {
  std::lock_guard<std::mutex> lock(C().mutex);
  C().caret_hwnd = 0;
  return true;
}

PointI GetCaretPos() {
  std::lock_guard<std::mutex> lock(C().mutex);
  return C().caret_pos;
}

std::string ImeResultString(Hwnd h) {
  if (h != t_ime_hwnd || !t_ime_text) return {};
  return *t_ime_text;
}

uintptr_t ImeDisable(Hwnd h) {
  Backend* b;
  uintptr_t token;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    WindowRec* w = Find(C(), h);
    if (!w) return 0;
    w->ime_enabled = false;
    token = C().next_ime_token++;
    b = C().backend.get();
  }
  if (b) b->SetImeEnabled(h, false);
  return token;
}

void ImeRestore(Hwnd h, uintptr_t) {
  Backend* b;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    WindowRec* w = Find(C(), h);
    if (!w) return;
    w->ime_enabled = true;
    b = C().backend.get();
  }
  if (b) b->SetImeEnabled(h, true);
}

bool ImeEnabled(Hwnd h) {
  std::lock_guard<std::mutex> lock(C().mutex);
  WindowRec* w = Find(C(), h);
  return w && w->ime_enabled;
}

// --- Clipboard and system values ------------------------------------------------------------

bool SetClipboardText(std::string_view text) {
  Backend* b = CurrentBackend();
  return b && b->SetClipboardText(CrLfToLf(GbkToUtf8Text(text)));
}

std::optional<std::string> GetClipboardText() {
  Backend* b = CurrentBackend();
  if (!b) return std::nullopt;
  auto text = b->GetClipboardText();
  if (!text) return std::nullopt;
  return Utf8ToGbk(LfToCrLf(*text));
}

RectI GetWorkArea() {
  Backend* b = CurrentBackend();
  return b ? b->WorkArea() : RectI{};
}

std::string InterfaceFontName(int which) {
  Backend* b = CurrentBackend();
  return b ? b->InterfaceFontName(which) : std::string();
}

// --- Presenting -----------------------------------------------------------------------------

void PresentFrame(Hwnd h, const gfx::Bitmap& frame, std::optional<RectI> rect, uint8_t alpha) {
  Backend* b;
  bool layered;
  RectI whole;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    WindowRec* w = Find(C(), h);
    if (!w) return;
    layered = w->ex_style & WS_EX_LAYERED;
    whole = {0, 0, w->rect.width(), w->rect.height()};
    b = C().backend.get();
  }
  if (!b || frame.IsNull()) return;
  RectI r = layered || !rect ? whole : *rect;
  r = {std::max(0, r.left), std::max(0, r.top), std::min(frame.Width(), r.right),
       std::min(frame.Height(), r.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) return;
  b->Present(h, frame, r, layered, alpha);
}

[[noreturn]] void ExitProcess(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

// --- The input entry ------------------------------------------------------------------------

namespace input {

void PointerMotion(Hwnd over, int x, int y) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (over && !Find(c, over)) over = 0;
  c.cursor = {x, y};
  if (c.leave_tracked && c.leave_tracked != over && c.capture != c.leave_tracked) {
    PostLocked(c, Msg{c.leave_tracked, WM_MOUSELEAVE, 0, 0});
    c.leave_tracked = 0;
  }
  c.pointer_over = over;
  Hwnd target = c.capture ? c.capture : over;
  WindowRec* w = Find(c, target);
  if (!w) return;
  PostLocked(c, Msg{target, WM_MOUSEMOVE, KeyStateLocked(c),
                    MakeLParam(x - w->rect.left, y - w->rect.top)});
}

void PointerButton(Hwnd over, int button, bool down, int x, int y) {
  if (button != 1 && button != 3) return;
  Core& c = C();
  Hwnd activate = 0;
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    if (over && !Find(c, over)) over = 0;
    c.cursor = {x, y};
    c.pointer_over = over;
    c.keys[button == 1 ? VK_LBUTTON : VK_RBUTTON] = down;
    Hwnd target = c.capture ? c.capture : over;
    WindowRec* w = Find(c, target);
    if (!w) return;
    Message m = button == 1 ? (down ? WM_LBUTTONDOWN : WM_LBUTTONUP)
                            : (down ? WM_RBUTTONDOWN : WM_RBUTTONUP);
    if (down) {
      uint64_t now = c.backend ? c.backend->Now() : 0;
      bool double_click =
          (w->class_style & CS_DBLCLKS) && c.last_click_hwnd == target &&
          c.last_click_button == button && now - c.last_click_time <= DoubleClickTime() &&
          std::abs(x - c.last_click_pos.x) <= 4 && std::abs(y - c.last_click_pos.y) <= 4;
      if (double_click) {
        m = button == 1 ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
        c.last_click_hwnd = 0;  // a third press starts again
      } else {
        c.last_click_hwnd = target;
        c.last_click_button = button;
        c.last_click_time = now;
        c.last_click_pos = {x, y};
      }
      if (c.backend && c.backend->ActivatesOnClick() && target != c.active) activate = target;
    }
    WParam keys = KeyStateLocked(c);
    PostLocked(c, Msg{target, m, keys, MakeLParam(x - w->rect.left, y - w->rect.top)});
  }
  if (activate) ActivateImpl(activate);
}

void PointerWheel(Hwnd over, int delta, int x, int y) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.cursor = {x, y};
  // The wheel goes to the window with the keyboard focus, as the system does it.
  Hwnd target = c.focus && Find(c, c.focus) ? c.focus : over;
  if (!Find(c, target)) return;
  WParam w = (static_cast<WParam>(static_cast<uint16_t>(delta)) << 16) | KeyStateLocked(c);
  PostLocked(c, Msg{target, WM_MOUSEWHEEL, w, MakeLParam(x, y)});
}

void PointerLeft(Hwnd h) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  if (c.pointer_over == h) c.pointer_over = 0;
  if (c.leave_tracked == h && c.capture != h) {
    PostLocked(c, Msg{h, WM_MOUSELEAVE, 0, 0});
    c.leave_tracked = 0;
  }
}

void Key(int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.keys[vk] = down;
  Hwnd target = c.focus && Find(c, c.focus) ? c.focus : c.active;
  if (!Find(c, target)) return;
  bool alt = c.keys[VK_MENU];
  Message m = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  LParam l = 1 | (alt ? (1 << 29) : 0) | (down ? 0 : static_cast<LParam>(0xC0000000u));
  PostLocked(c, Msg{target, m, static_cast<WParam>(vk), l});
}

void Text(std::string_view utf8) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  Hwnd target = c.focus && Find(c, c.focus) ? c.focus : c.active;
  WindowRec* w = Find(c, target);
  if (!w) return;
  bool alt = c.keys[VK_MENU];
  std::string pending;  // a run of other characters: one input-method result
  auto flush = [&] {
    if (pending.empty()) return;
    if (w->ime_enabled) {
      Msg m{target, WM_IME_COMPOSITION, 0, GCS_RESULTSTR};
      m.ime_text = std::make_shared<const std::string>(Utf8ToGbk(pending));
      PostLocked(c, std::move(m));
    }
    pending.clear();
  };
  for (char ch : utf8) {
    auto b = static_cast<unsigned char>(ch);
    if (b >= 28 && b <= 126) {
      flush();
      PostLocked(c, Msg{target, alt ? WM_SYSCHAR : WM_CHAR, b, 1});
    } else if (b >= 0x80) {
      pending += ch;
    } else {
      flush();  // other control characters carry nothing
    }
  }
  flush();
}

void Activate(Hwnd h) {
  ActivateImpl(h);
}

void SyncKeyState(bool shift, bool control, bool alt, bool left, bool right) {
  Core& c = C();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.keys[VK_SHIFT] = shift;
  c.keys[VK_CONTROL] = control;
  c.keys[VK_MENU] = alt;
  c.keys[VK_LBUTTON] = left;
  c.keys[VK_RBUTTON] = right;
}

void Configure(Hwnd h, const RectI& rect) {
  RectI before;
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    WindowRec* w = Find(C(), h);
    if (!w) return;
    before = w->rect;
    if (before == rect) return;
    w->rect = rect;
    if (!w->zoomed && !w->iconic) w->restore_rect = rect;
  }
  if (before.width() != rect.width() || before.height() != rect.height()) SendSizeMessage(h);
  if (before.left != rect.left || before.top != rect.top) {
    Deliver(h, WM_MOVE, 0, MakeLParam(rect.left, rect.top));
  }
}

void Exposed(Hwnd h, const RectI& rect) {
  InvalidateRect(h, rect);
}

void CloseRequest(Hwnd h) {
  Deliver(h, WM_CLOSE, 0, 0);
}

void StateChanged(Hwnd h, bool zoomed, bool iconic) {
  {
    std::lock_guard<std::mutex> lock(C().mutex);
    WindowRec* w = Find(C(), h);
    if (!w || (w->zoomed == zoomed && w->iconic == iconic)) return;
    w->zoomed = zoomed;
    w->iconic = iconic;
  }
  SendSizeMessage(h);
}

}  // namespace input
}  // namespace lw::ws
