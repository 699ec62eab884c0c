// A small owning wrapper around a string format handle.
#pragma once

#include <optional>

#include "ui/core/gfx/string_format.h"

namespace lw {

// A string format handle: one the drawing layer made and the holder deletes.
using StringFormatHandle = gfx::StringFormat*;

class UiStringFormat {
 public:
  UiStringFormat() = default;
  ~UiStringFormat();  // deletes the handle when it owns it
  UiStringFormat(const UiStringFormat&) = delete;
  UiStringFormat& operator=(const UiStringFormat&) = delete;

  void DeleteFormat();
  // Makes a new format with `flags` (language is accepted and ignored). With owns, the current
  // handle is deleted first and the new one belongs to the wrapper; without, both are left to
  // whoever takes them.
  bool CreateFormat(int flags, int language = 0, bool owns = true);

  gfx::StringAlignment Align(std::optional<gfx::StringAlignment> value = std::nullopt);
  gfx::StringTrimming Trimming(std::optional<gfx::StringTrimming> value = std::nullopt);
  gfx::HotkeyPrefix HotkeyPrefix(std::optional<gfx::HotkeyPrefix> value = std::nullopt);
  int FormatFlags(std::optional<int> value = std::nullopt);
  StringFormatHandle FormatHandle() const { return handle_; }
  bool Owns() const { return owns_; }

 private:
  StringFormatHandle handle_ = nullptr;
  bool owns_ = true;
};

}  // namespace lw
