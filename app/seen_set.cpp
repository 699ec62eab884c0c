#include "app/seen_set.h"

namespace lw {

bool SeenSet::Insert(std::string_view text) {
  if (index_.count(text)) return false;
  slots_.emplace_back(text);
  live_.push_back(true);
  index_.emplace(slots_.back(), slots_.size() - 1);
  return true;
}

bool SeenSet::Remove(std::string_view text) {
  auto it = index_.find(text);
  if (it == index_.end()) return false;
  live_[it->second] = false;
  index_.erase(it);
  if (index_.empty()) {
    Clear();
  } else if (slots_.size() > 64 && slots_.size() - index_.size() > index_.size()) {
    // More dead slots than members: rebuilding now keeps removal cheap on average.
    Compact();
  }
  return true;
}

void SeenSet::Clear() {
  index_.clear();
  slots_.clear();
  live_.clear();
}

std::vector<std::string> SeenSet::Members() const {
  std::vector<std::string> out;
  out.reserve(index_.size());
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (live_[i]) out.push_back(slots_[i]);
  }
  return out;
}

const std::string& SeenSet::At(size_t k) const {
  if (slots_.size() != index_.size()) Compact();
  return slots_[k - 1];
}

void SeenSet::Compact() const {
  std::deque<std::string> kept;
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (live_[i]) kept.push_back(std::move(slots_[i]));
  }
  slots_ = std::move(kept);
  live_.assign(slots_.size(), true);
  index_.clear();
  for (size_t i = 0; i < slots_.size(); ++i)
    index_.emplace(slots_[i], i);
}

}  // namespace lw
