// The words one seed has produced so far, in the order they were first seen.
//
// Members compare byte for byte (case, spaces and width all count). Membership is answered
// through a hash index beside the ordered list, so inserting stays cheap however many words a
// seed gathers.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lw {

class SeenSet {
 public:
  // Adds `text` at the end unless it is already a member; true when it was added.
  bool Insert(std::string_view text);
  // Removes `text`; false when it was not a member.
  bool Remove(std::string_view text);
  bool Contains(std::string_view text) const { return index_.count(text) != 0; }
  void Clear();

  // The members in insertion order.
  std::vector<std::string> Members() const;
  size_t Size() const { return index_.size(); }
  // Member `k` (1-based) of the insertion-ordered listing; k must be in 1..Size().
  const std::string& At(size_t k) const;

 private:
  void Compact() const;

  // Slots never move (a deque keeps its elements in place as it grows), so the index can key
  // on views of them. A removed member leaves a dead slot until the next compaction.
  mutable std::deque<std::string> slots_;
  mutable std::vector<bool> live_;
  mutable std::unordered_map<std::string_view, size_t> index_;
};

}  // namespace lw
