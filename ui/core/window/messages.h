// The window system's vocabulary: message numbers, styles, commands, key codes and the
// packing of message arguments, numbered as the toolkit's design knows them.
#pragma once

#include <cstdint>

namespace lw::ws {

using Hwnd = uintptr_t;  // 0: no window
using WParam = uintptr_t;
using LParam = intptr_t;
using LResult = intptr_t;
using Message = uint32_t;

// Window messages.
inline constexpr Message WM_CREATE = 0x0001;
inline constexpr Message WM_DESTROY = 0x0002;
inline constexpr Message WM_MOVE = 0x0003;
inline constexpr Message WM_SIZE = 0x0005;
inline constexpr Message WM_ACTIVATE = 0x0006;
inline constexpr Message WM_SETFOCUS = 0x0007;
inline constexpr Message WM_KILLFOCUS = 0x0008;
inline constexpr Message WM_SETTEXT = 0x000C;
inline constexpr Message WM_GETTEXT = 0x000D;
inline constexpr Message WM_PAINT = 0x000F;
inline constexpr Message WM_CLOSE = 0x0010;
inline constexpr Message WM_QUIT = 0x0012;
inline constexpr Message WM_SHOWWINDOW = 0x0018;
inline constexpr Message WM_SETCURSOR = 0x0020;
inline constexpr Message WM_GETMINMAXINFO = 0x0024;
inline constexpr Message WM_STYLECHANGED = 0x007D;
inline constexpr Message WM_GETICON = 0x007F;
inline constexpr Message WM_NCCALCSIZE = 0x0083;
inline constexpr Message WM_NCACTIVATE = 0x0086;
inline constexpr Message WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr Message WM_KEYDOWN = 0x0100;
inline constexpr Message WM_KEYUP = 0x0101;
inline constexpr Message WM_CHAR = 0x0102;
inline constexpr Message WM_SYSKEYDOWN = 0x0104;
inline constexpr Message WM_SYSKEYUP = 0x0105;
inline constexpr Message WM_SYSCHAR = 0x0106;
inline constexpr Message WM_IME_COMPOSITION = 0x010F;
inline constexpr Message WM_COMMAND = 0x0111;
inline constexpr Message WM_SYSCOMMAND = 0x0112;
inline constexpr Message WM_TIMER = 0x0113;
inline constexpr Message WM_MOUSEMOVE = 0x0200;
inline constexpr Message WM_LBUTTONDOWN = 0x0201;
inline constexpr Message WM_LBUTTONUP = 0x0202;
inline constexpr Message WM_LBUTTONDBLCLK = 0x0203;
inline constexpr Message WM_RBUTTONDOWN = 0x0204;
inline constexpr Message WM_RBUTTONUP = 0x0205;
inline constexpr Message WM_RBUTTONDBLCLK = 0x0206;
inline constexpr Message WM_MOUSEWHEEL = 0x020A;
inline constexpr Message WM_MOUSELEAVE = 0x02A3;
inline constexpr Message WM_USER = 0x0400;

// WM_SYSCOMMAND commands.
inline constexpr WParam SC_SIZE = 0xF000;
inline constexpr WParam SC_MOVE = 0xF010;
inline constexpr WParam SC_MINIMIZE = 0xF020;
inline constexpr WParam SC_MAXIMIZE = 0xF030;
inline constexpr WParam SC_CLOSE = 0xF060;
inline constexpr WParam SC_RESTORE = 0xF120;

// Hit-test codes and sizing edges.
inline constexpr WParam HTCLIENT = 1;
inline constexpr WParam HTCAPTION = 2;
inline constexpr int WMSZ_LEFT = 1, WMSZ_RIGHT = 2, WMSZ_TOP = 3, WMSZ_TOPLEFT = 4,
                     WMSZ_TOPRIGHT = 5, WMSZ_BOTTOM = 6, WMSZ_BOTTOMLEFT = 7, WMSZ_BOTTOMRIGHT = 8;

// WM_SIZE kinds, WM_ACTIVATE states.
inline constexpr WParam SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;
inline constexpr WParam WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;

// WM_IME_COMPOSITION: the result string is ready.
inline constexpr LParam GCS_RESULTSTR = 0x800;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_MAXIMIZE = 3,
                     SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_RESTORE = 9;

// Window styles and extended styles; class styles.
inline constexpr uint32_t WS_POPUP = 0x80000000u;
inline constexpr uint32_t WS_CHILD = 0x40000000u;
inline constexpr uint32_t WS_MINIMIZE = 0x20000000u;
inline constexpr uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr uint32_t WS_MAXIMIZE = 0x01000000u;
inline constexpr uint32_t WS_CAPTION = 0x00C00000u;
inline constexpr uint32_t WS_BORDER = 0x00800000u;
inline constexpr uint32_t WS_DLGFRAME = 0x00400000u;
inline constexpr uint32_t WS_SYSMENU = 0x00080000u;
inline constexpr uint32_t WS_THICKFRAME = 0x00040000u;
inline constexpr uint32_t WS_MINIMIZEBOX = 0x00020000u;
inline constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000u;
inline constexpr uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000u;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008u;
inline constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080u;
inline constexpr uint32_t WS_EX_LAYERED = 0x00080000u;
inline constexpr uint32_t CS_DBLCLKS = 0x0008;

// Mouse key state (wParam of mouse messages).
inline constexpr WParam MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8;

// Virtual-key codes.
inline constexpr int VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17,
                     VK_MENU = 18, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34,
                     VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39,
                     VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46, VK_F1 = 112, VK_F12 = 123,
                     VK_LBUTTON = 1, VK_RBUTTON = 2;

// Packing of arguments.
inline constexpr LParam MakeLParam(int low, int high) {
  return static_cast<LParam>(static_cast<uint32_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16)));
}
inline constexpr int LoWord(uintptr_t v) {
  return static_cast<int>(v & 0xFFFF);
}
inline constexpr int HiWord(uintptr_t v) {
  return static_cast<int>((v >> 16) & 0xFFFF);
}
// The signed coordinates of a mouse message's lParam.
inline constexpr int XOf(LParam l) {
  return static_cast<int16_t>(l & 0xFFFF);
}
inline constexpr int YOf(LParam l) {
  return static_cast<int16_t>((l >> 16) & 0xFFFF);
}

struct PointI {
  int x = 0;
  int y = 0;
  bool operator==(const PointI&) const = default;
};

// WM_GETMINMAXINFO's record, filled by the window's procedure.
struct MinMaxInfo {
  PointI reserved;
  PointI max_size;
  PointI max_position;
  PointI min_track_size;
  PointI max_track_size;
};

}  // namespace lw::ws
