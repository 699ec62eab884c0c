#include "base/codepage.h"

#include <unicode/ucnv.h>
#include <unicode/utrans.h>

#include <memory>
#include <mutex>

namespace lw {
namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

const char* ConverterName(int code_page) {
  switch (code_page) {
    case kCodePageBig5:
      return "windows-950-2000";
    case kCodePageUtf8:
      return "UTF-8";
    default:
      return "windows-936-2000";
  }
}

// One converter per code page and thread: converters keep state and are not thread-safe.
UConverter* Converter(int code_page) {
  thread_local ConverterPtr gbk, big5, utf8;
  ConverterPtr& slot = code_page == kCodePageBig5 ? big5 : code_page == kCodePageUtf8 ? utf8 : gbk;
  if (!slot) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open(ConverterName(code_page), &status);
    if (U_FAILURE(status)) return nullptr;
    // Like the system's own conversions: what the code page cannot hold becomes '?'.
    ucnv_setSubstChars(c, "?", 1, &status);
    slot.reset(c);
  }
  ucnv_reset(slot.get());
  return slot.get();
}

std::string_view UpToNul(std::string_view s) {
  return s.substr(0, s.find('\0'));
}
std::u16string_view UpToNul(std::u16string_view s) {
  return s.substr(0, s.find(u'\0'));
}

}  // namespace

std::u16string ToWide(std::string_view text, int code_page) {
  text = UpToNul(text);
  std::u16string out;
  if (text.empty()) return out;
  UConverter* c = Converter(code_page);
  if (!c) return out;
  // A code unit per byte is always enough for these code pages.
  out.resize(text.size() + 1);
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = ucnv_toUChars(c, out.data(), static_cast<int32_t>(out.size()), text.data(),
                            static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return {};
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string FromWide(std::u16string_view wide, int code_page) {
  wide = UpToNul(wide);
  std::string out;
  if (wide.empty()) return out;
  UConverter* c = Converter(code_page);
  if (!c) return out;
  out.resize(wide.size() * 4 + 1);
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = ucnv_fromUChars(c, out.data(), static_cast<int32_t>(out.size()), wide.data(),
                              static_cast<int32_t>(wide.size()), &status);
  if (U_FAILURE(status)) return {};
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string FromWideUntilUnmappable(std::u16string_view wide, int code_page) {
  wide = UpToNul(wide);
  std::string out;
  if (wide.empty()) return out;
  UErrorCode status = U_ZERO_ERROR;
  ConverterPtr c(ucnv_open(ConverterName(code_page), &status));
  if (U_FAILURE(status)) return out;
  // Stop at the first character the code page cannot hold; what came before is kept.
  ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  out.resize(wide.size() * 4 + 1);
  char* target = out.data();
  const UChar* source = wide.data();
  status = U_ZERO_ERROR;
  ucnv_fromUnicode(c.get(), &target, out.data() + out.size(), &source, wide.data() + wide.size(),
                   nullptr, true, &status);
  out.resize(static_cast<size_t>(target - out.data()));
  return out;
}

std::u16string TraditionalToSimplified(std::u16string_view wide) {
  std::u16string text(wide);
  if (text.empty()) return text;
  static std::mutex mutex;
  static UTransliterator* trans = [] {
    UErrorCode status = U_ZERO_ERROR;
    UTransliterator* t =
        utrans_openU(u"Traditional-Simplified", -1, UTRANS_FORWARD, nullptr, 0, nullptr, &status);
    return U_FAILURE(status) ? nullptr : t;
  }();
  if (!trans) return text;
  std::lock_guard<std::mutex> lock(mutex);
  int32_t length = static_cast<int32_t>(text.size());
  int32_t limit = length;
  std::u16string buffer = text;
  buffer.resize(text.size() * 2 + 16);
  UErrorCode status = U_ZERO_ERROR;
  utrans_transUChars(trans, buffer.data(), &length, static_cast<int32_t>(buffer.size()), 0, &limit,
                     &status);
  if (U_FAILURE(status)) return text;
  buffer.resize(static_cast<size_t>(length));
  return buffer;
}

}  // namespace lw
