// A regular-expression object with the behaviour of the classic scripting engines' RegExp:
// one call sets the options and the pattern and searches a text; the other calls read the
// matches it found. Texts given and returned are GBK; matching runs on UTF-16.
//
// Pattern dialect: that of the classic script engines. A lone "*", "+", "?", "(", ")", "["
// or "\" is an invalid pattern; "{", "}", "]", "a{" and "a{1" are literals; "." matches any
// character but LF; with multi-line on, "^" and "$" also match after and before CR and LF.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  // A copy shares the compiled pattern and the match results (both are immutable) and keeps
  // its own copy of the searched text.
  RegexObject(const RegexObject& other);
  RegexObject& operator=(const RegexObject& other);

  // Compiles `pattern` with the given options and runs it over `text` at once. With
  // quote_placeholder, every "#引号" in the pattern stands for a double quote. True when the
  // search produced a match collection (possibly empty); false for an invalid pattern.
  bool Search(std::string_view pattern, std::string_view text, bool case_sensitive = false,
              bool multi_line = true, bool global = true, bool quote_placeholder = false);

  // The pattern of the last Search, or "" when there was none.
  std::string PatternText() const;

  // The searched text with the matches replaced by `replacement`, in which "$&" is the match,
  // "$1".."$99" the groups, "$`" and "$'" the text before and after it and "$$" a "$". Only
  // the first match is replaced unless the search was global. "" without a valid pattern.
  std::string ReplaceMatches(std::string_view replacement) const;

  // Number of matches found by the last Search.
  int MatchCount() const;

  // Text of match k (1-based); "" when k is out of range. With `position`, also its 0-based
  // byte offset in the searched GBK text (-2 when there is no such match).
  std::string MatchText(int k, int* position = nullptr) const;

  // Text of group s (1-based) of match k; "" when either is out of range or the group did not
  // take part. With `position`, also its 0-based byte offset (-2 when it has none).
  std::string SubMatchText(int k, int s, int* position = nullptr) const;

  // Number of groups of the first match (0 without matches).
  int SubMatchCount() const;

 private:
  struct Engine;
  struct Result;
  std::shared_ptr<const Engine> engine_;
  std::shared_ptr<const Result> result_;
  std::string searched_;
};

}  // namespace lw
