#include "pattern/regex_object.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <optional>

#include "base/codepage.h"
#include "base/text_search.h"

namespace lw {
namespace {

// "#引号" in GBK.
const std::string& QuotePlaceholder() {
  static const std::string placeholder = Utf8ToGbk("#引号");
  return placeholder;
}

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct CompileContextDeleter {
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};

std::string ReplacePlaceholder(std::string_view pattern) {
  std::string out;
  int from = 1;
  while (true) {
    int at = FindText(pattern, QuotePlaceholder(), from);
    if (at == 0) break;
    out.append(pattern.substr(static_cast<size_t>(from - 1), static_cast<size_t>(at - from)));
    out += '"';
    from = at + static_cast<int>(QuotePlaceholder().size());
  }
  out.append(pattern.substr(static_cast<size_t>(from - 1)));
  return out;
}

// With multi-line on, the script engines' "^" and "$" also match after and before a CR, not
// only an LF. PCRE2 is compiled with LF as the only newline (so that "." excludes just LF), so
// the two anchors are widened here, outside character classes and escapes.
std::u16string WidenLineAnchors(std::u16string_view pattern) {
  std::u16string out;
  bool in_class = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char16_t c = pattern[i];
    if (c == u'\\') {
      out += c;
      if (i + 1 < pattern.size()) out += pattern[++i];
    } else if (in_class) {
      if (c == u']') in_class = false;
      out += c;
    } else if (c == u'[') {
      in_class = true;
      out += c;
      // "[]" is an empty class and "[^]" matches anything, so a "]" right after the opening
      // closes the class; the loop sees it next.
      if (i + 1 < pattern.size() && pattern[i + 1] == u'^') out += pattern[++i];
    } else if (c == u'^') {
      out += u"(?:^|(?<=\r))";
    } else if (c == u'$') {
      out += u"(?:$|(?=\r))";
    } else {
      out += c;
    }
  }
  return out;
}

bool IsHighSurrogate(char16_t c) {
  return (c & 0xFC00) == 0xD800;
}
bool IsLowSurrogate(char16_t c) {
  return (c & 0xFC00) == 0xDC00;
}

}  // namespace

struct RegexObject::Engine {
  std::string pattern;  // as written to the engine, GBK
  bool global = true;
  std::unique_ptr<pcre2_code, CodeDeleter> code;  // null for an invalid pattern
  int group_count = 0;
};

struct RegexObject::Result {
  struct Span {
    size_t start = 0;
    size_t end = 0;
  };
  struct Match {
    Span whole;
    std::vector<std::optional<Span>> groups;
  };
  std::u16string text;
  std::vector<Match> matches;
};

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject& other) = default;
RegexObject& RegexObject::operator=(const RegexObject& other) = default;

bool RegexObject::Search(std::string_view pattern, std::string_view text, bool case_sensitive,
                         bool multi_line, bool global, bool quote_placeholder) {
  engine_.reset();
  result_.reset();

  auto engine = std::make_shared<Engine>();
  engine->pattern = quote_placeholder ? ReplacePlaceholder(pattern) : std::string(pattern);
  engine->global = global;

  std::u16string wide_pattern = ToWide(engine->pattern);
  if (multi_line) wide_pattern = WidenLineAnchors(wide_pattern);
  uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALLOW_EMPTY_CLASS |
                     PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY;
  if (!case_sensitive) options |= PCRE2_CASELESS;
  if (multi_line) options |= PCRE2_MULTILINE | PCRE2_ALT_CIRCUMFLEX;
  std::unique_ptr<pcre2_compile_context, CompileContextDeleter> context(
      pcre2_compile_context_create(nullptr));
  pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
  int error = 0;
  PCRE2_SIZE error_offset = 0;
  engine->code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(wide_pattern.data()),
                                   wide_pattern.size(), options, &error, &error_offset,
                                   context.get()));
  searched_ = std::string(text.substr(0, text.find('\0')));
  if (!engine->code) {
    engine_ = std::move(engine);
    return false;
  }
  uint32_t captures = 0;
  pcre2_pattern_info(engine->code.get(), PCRE2_INFO_CAPTURECOUNT, &captures);
  engine->group_count = static_cast<int>(captures);

  auto result = std::make_shared<Result>();
  result->text = ToWide(searched_);
  const std::u16string& subject = result->text;
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
      pcre2_match_data_create_from_pattern(engine->code.get(), nullptr));
  size_t offset = 0;
  while (offset <= subject.size()) {
    int rc = pcre2_match(engine->code.get(), reinterpret_cast<PCRE2_SPTR>(subject.data()),
                         subject.size(), offset, 0, data.get(), nullptr);
    if (rc < 0) break;
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data.get());
    Result::Match match;
    match.whole = {ov[0], ov[1]};
    for (int g = 1; g <= engine->group_count; ++g) {
      if (g < rc && ov[2 * g] != PCRE2_UNSET) {
        match.groups.push_back(Result::Span{ov[2 * g], ov[2 * g + 1]});
      } else {
        match.groups.push_back(std::nullopt);
      }
    }
    result->matches.push_back(std::move(match));
    if (!global) break;
    if (ov[1] > ov[0]) {
      offset = ov[1];
    } else {
      // An empty match: go on one character further, as the script engines do.
      if (ov[1] >= subject.size()) break;
      offset = ov[1] + ((IsHighSurrogate(subject[ov[1]]) && ov[1] + 1 < subject.size() &&
                         IsLowSurrogate(subject[ov[1] + 1]))
                            ? 2
                            : 1);
    }
  }
  engine_ = std::move(engine);
  result_ = std::move(result);
  return true;
}

std::string RegexObject::PatternText() const {
  return engine_ ? engine_->pattern : std::string();
}

int RegexObject::MatchCount() const {
  return result_ ? static_cast<int>(result_->matches.size()) : 0;
}

int RegexObject::SubMatchCount() const {
  if (!result_ || result_->matches.empty()) return 0;
  return static_cast<int>(result_->matches.front().groups.size());
}

namespace {

// The byte offset in the GBK form of `text` at which UTF-16 offset `unit` begins.
int GbkOffset(const std::u16string& text, size_t unit) {
  return static_cast<int>(FromWide(std::u16string_view(text).substr(0, unit)).size());
}

}  // namespace

std::string RegexObject::MatchText(int k, int* position) const {
  if (position) *position = -2;
  if (k < 1 || k > MatchCount()) return {};
  const auto& span = result_->matches[static_cast<size_t>(k - 1)].whole;
  if (position) *position = GbkOffset(result_->text, span.start);
  return FromWide(std::u16string_view(result_->text).substr(span.start, span.end - span.start));
}

std::string RegexObject::SubMatchText(int k, int s, int* position) const {
  if (position) *position = -2;
  if (k < 1 || k > MatchCount()) return {};
  const auto& match = result_->matches[static_cast<size_t>(k - 1)];
  if (s < 1 || s > static_cast<int>(match.groups.size())) return {};
  const auto& group = match.groups[static_cast<size_t>(s - 1)];
  if (!group) return {};
  if (position) *position = GbkOffset(result_->text, group->start);
  return FromWide(
      std::u16string_view(result_->text).substr(group->start, group->end - group->start));
}

std::string RegexObject::ReplaceMatches(std::string_view replacement) const {
  if (!engine_ || !engine_->code || !result_) return {};
  const std::u16string& text = result_->text;
  const std::u16string repl = ToWide(replacement);
  std::u16string out;
  size_t copied = 0;
  for (const auto& match : result_->matches) {
    out.append(text, copied, match.whole.start - copied);
    auto group_text = [&](size_t g) -> std::u16string_view {
      const auto& span = match.groups[g - 1];
      if (!span) return {};
      return std::u16string_view(text).substr(span->start, span->end - span->start);
    };
    size_t groups = match.groups.size();
    for (size_t i = 0; i < repl.size(); ++i) {
      char16_t c = repl[i];
      if (c != u'$' || i + 1 >= repl.size()) {
        out += c;
        continue;
      }
      char16_t n = repl[i + 1];
      if (n == u'$') {
        out += u'$';
        ++i;
      } else if (n == u'&') {
        out.append(text, match.whole.start, match.whole.end - match.whole.start);
        ++i;
      } else if (n == u'`') {
        out.append(text, 0, match.whole.start);
        ++i;
      } else if (n == u'\'') {
        out.append(text, match.whole.end);
        ++i;
      } else if (n >= u'0' && n <= u'9') {
        size_t one = n - u'0';
        size_t two = (i + 2 < repl.size() && repl[i + 2] >= u'0' && repl[i + 2] <= u'9')
                         ? one * 10 + (repl[i + 2] - u'0')
                         : 0;
        if (two >= 1 && two <= groups) {
          out += group_text(two);
          i += 2;
        } else if (one >= 1 && one <= groups) {
          out += group_text(one);
          i += 1;
        } else {
          out += c;
        }
      } else {
        out += c;
      }
    }
    copied = match.whole.end;
  }
  out.append(text, copied);
  return FromWide(out);
}

}  // namespace lw
