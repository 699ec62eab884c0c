#include "ui/core/window/headless_backend.h"

#include <algorithm>
#include <cstring>

namespace lw::ws {

HeadlessBackend::HeadlessBackend() = default;

uint64_t HeadlessBackend::Now() {
  std::lock_guard<std::mutex> lock(mutex_);
  return now_;
}

void HeadlessBackend::SkipTo(uint64_t t) {
  std::lock_guard<std::mutex> lock(mutex_);
  now_ = std::max(now_, t);
}

void HeadlessBackend::AdvanceTime(uint64_t ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  now_ += ms;
}

void HeadlessBackend::CreateNative(Hwnd hwnd, const NativeWindowInfo& info) {
  std::lock_guard<std::mutex> lock(mutex_);
  surfaces_[hwnd] = Surface{info.rect, info.title_utf8, {}, 0, 255, false, {}};
}

void HeadlessBackend::DestroyNative(Hwnd hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  surfaces_.erase(hwnd);
}

void HeadlessBackend::MoveNative(Hwnd hwnd, const RectI& rect) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = surfaces_.find(hwnd);
  if (it != surfaces_.end()) it->second.rect = rect;
}

void HeadlessBackend::SetTitle(Hwnd hwnd, const std::string& utf8) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = surfaces_.find(hwnd);
  if (it != surfaces_.end()) it->second.title = utf8;
}

void HeadlessBackend::Present(Hwnd hwnd, const gfx::Bitmap& frame, const RectI& rect, bool,
                              uint8_t alpha) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = surfaces_.find(hwnd);
  if (it == surfaces_.end()) return;
  Surface& s = it->second;
  if (s.frame.Width() != frame.Width() || s.frame.Height() != frame.Height()) {
    s.frame = gfx::Bitmap(frame.Width(), frame.Height());
  }
  // Copy the presented part into what the window shows.
  const uint8_t* src = frame.Data();
  uint8_t* dst = s.frame.MutableData();
  for (int y = rect.top; y < rect.bottom; ++y) {
    std::memcpy(dst + y * s.frame.Stride() + rect.left * 4,
                src + y * frame.Stride() + rect.left * 4,
                static_cast<size_t>(rect.right - rect.left) * 4);
  }
  s.frame.MarkDirty();
  ++s.presents;
  s.alpha = alpha;
  if (s.record) s.history.push_back(s.frame);
}

void HeadlessBackend::BeginMoveResize(Hwnd hwnd, int edge) {
  std::lock_guard<std::mutex> lock(mutex_);
  move_resize_.push_back({hwnd, edge});
}

void HeadlessBackend::SetCursor(Hwnd, int cursor_id) {
  std::lock_guard<std::mutex> lock(mutex_);
  cursor_ = cursor_id;
}

bool HeadlessBackend::SetClipboardText(const std::string& utf8) {
  std::lock_guard<std::mutex> lock(mutex_);
  clipboard_ = utf8;
  return true;
}

std::optional<std::string> HeadlessBackend::GetClipboardText() {
  std::lock_guard<std::mutex> lock(mutex_);
  return clipboard_;
}

void HeadlessBackend::SetForeignClipboard(std::optional<std::string> utf8) {
  std::lock_guard<std::mutex> lock(mutex_);
  clipboard_ = std::move(utf8);
}

std::optional<std::string> HeadlessBackend::ClipboardAsOthersSeeIt() {
  return GetClipboardText();
}

RectI HeadlessBackend::WorkArea() {
  std::lock_guard<std::mutex> lock(mutex_);
  return work_area_;
}

void HeadlessBackend::SetWorkArea(const RectI& area) {
  std::lock_guard<std::mutex> lock(mutex_);
  work_area_ = area;
}

gfx::Bitmap HeadlessBackend::PresentedFrame(Hwnd hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = surfaces_.find(hwnd);
  return it == surfaces_.end() ? gfx::Bitmap() : it->second.frame;
}

int HeadlessBackend::PresentCount(Hwnd hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = surfaces_.find(hwnd);
  return it == surfaces_.end() ? 0 : it->second.presents;
}

uint8_t HeadlessBackend::LastAlpha(Hwnd hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = surfaces_.find(hwnd);
  return it == surfaces_.end() ? 0 : it->second.alpha;
}

void HeadlessBackend::RecordFrames(Hwnd hwnd, bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = surfaces_.find(hwnd);
  if (it == surfaces_.end()) return;
  it->second.record = on;
  if (!on) it->second.history.clear();
}

std::vector<gfx::Bitmap> HeadlessBackend::RecordedFrames(Hwnd hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = surfaces_.find(hwnd);
  return it == surfaces_.end() ? std::vector<gfx::Bitmap>() : it->second.history;
}

std::vector<HeadlessBackend::MoveResize> HeadlessBackend::MoveResizeRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return move_resize_;
}

int HeadlessBackend::CurrentCursor() {
  std::lock_guard<std::mutex> lock(mutex_);
  return cursor_;
}

std::string HeadlessBackend::Title(Hwnd hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = surfaces_.find(hwnd);
  return it == surfaces_.end() ? std::string() : it->second.title;
}

HeadlessBackend* UseHeadlessWindowSystem() {
  auto backend = std::make_unique<HeadlessBackend>();
  HeadlessBackend* raw = backend.get();
  return InstallBackend(std::move(backend)) ? raw : nullptr;
}

namespace headless {

void MoveMouse(int x, int y) {
  input::PointerMotion(WindowFromPoint(x, y), x, y);
}
void MouseDown(int x, int y, int button) {
  input::PointerButton(WindowFromPoint(x, y), button, true, x, y);
}
void MouseUp(int x, int y, int button) {
  input::PointerButton(WindowFromPoint(x, y), button, false, x, y);
}
void Click(int x, int y, int button) {
  MoveMouse(x, y);
  MouseDown(x, y, button);
  MouseUp(x, y, button);
}
void DoubleClick(int x, int y) {
  Click(x, y);
  Click(x, y);
}
void Wheel(int x, int y, int delta) {
  input::PointerWheel(WindowFromPoint(x, y), delta, x, y);
}

namespace {
PointI Screen(Hwnd hwnd, int x, int y) {
  RectI r = GetWindowRect(hwnd);
  return {r.left + x, r.top + y};
}
}  // namespace

void MoveMouseIn(Hwnd hwnd, int x, int y) {
  PointI p = Screen(hwnd, x, y);
  MoveMouse(p.x, p.y);
}
void MouseDownIn(Hwnd hwnd, int x, int y, int button) {
  PointI p = Screen(hwnd, x, y);
  MouseDown(p.x, p.y, button);
}
void MouseUpIn(Hwnd hwnd, int x, int y, int button) {
  PointI p = Screen(hwnd, x, y);
  MouseUp(p.x, p.y, button);
}
void ClickIn(Hwnd hwnd, int x, int y, int button) {
  PointI p = Screen(hwnd, x, y);
  Click(p.x, p.y, button);
}
void DoubleClickIn(Hwnd hwnd, int x, int y) {
  PointI p = Screen(hwnd, x, y);
  DoubleClick(p.x, p.y);
}
void KeyDown(int vk) {
  input::Key(vk, true);
}
void KeyUp(int vk) {
  input::Key(vk, false);
}
void PressKey(int vk) {
  KeyDown(vk);
  KeyUp(vk);
}
void Type(std::string_view utf8) {
  input::Text(utf8);
}

}  // namespace headless
}  // namespace lw::ws
