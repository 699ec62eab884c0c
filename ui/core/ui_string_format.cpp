#include "ui/core/ui_string_format.h"

namespace lw {

UiStringFormat::~UiStringFormat() {
  if (owns_) DeleteFormat();
}

void UiStringFormat::DeleteFormat() {
  delete handle_;
  handle_ = nullptr;
}

bool UiStringFormat::CreateFormat(int flags, int, bool owns) {
  owns_ = owns;
  if (owns) DeleteFormat();
  handle_ = new gfx::StringFormat();
  handle_->flags = flags;
  return true;
}

gfx::StringAlignment UiStringFormat::Align(std::optional<gfx::StringAlignment> value) {
  if (!handle_) return gfx::StringAlignment::kNear;
  if (value) handle_->alignment = *value;
  return handle_->alignment;
}

gfx::StringTrimming UiStringFormat::Trimming(std::optional<gfx::StringTrimming> value) {
  if (!handle_) return gfx::StringTrimming::kNone;
  if (value) handle_->trimming = *value;
  return handle_->trimming;
}

gfx::HotkeyPrefix UiStringFormat::HotkeyPrefix(std::optional<gfx::HotkeyPrefix> value) {
  if (!handle_) return gfx::HotkeyPrefix::kNone;
  if (value) handle_->hotkey_prefix = *value;
  return handle_->hotkey_prefix;
}

int UiStringFormat::FormatFlags(std::optional<int> value) {
  if (!handle_) return 0;
  if (value) handle_->flags = *value;
  return handle_->flags;
}

}  // namespace lw
