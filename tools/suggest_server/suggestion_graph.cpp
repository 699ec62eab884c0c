#include "tools/suggest_server/suggestion_graph.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace lw {
namespace {

constexpr std::string_view kModifiers[] = {"夏季",   "新款",   "女",   "韩版", "宽松", "显瘦",
                                           "长款",   "短款",   "碎花", "雪纺", "纯棉", "大码",
                                           "学生",   "复古",   "法式", "气质", "高腰", "收腰",
                                           "小个子", "中长款", "无袖", "网红", "百搭", "冬季"};
constexpr int kModifierCount = static_cast<int>(std::size(kModifiers));

uint64_t Fnv1a(uint64_t seed, std::string_view text) {
  uint64_t h = 1469598103934665603ull ^ (seed * 1099511628211ull);
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::vector<std::string_view> Split(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t from = 0;
  while (true) {
    size_t at = text.find(' ', from);
    parts.push_back(text.substr(from, at == std::string_view::npos ? at : at - from));
    if (at == std::string_view::npos) break;
    from = at + 1;
  }
  return parts;
}

}  // namespace

SuggestionGraph::SuggestionGraph(uint64_t seed, int size, int fanout)
    : seed_(seed), size_(std::max(1, size)), fanout_(std::clamp(fanout, 1, 8)) {}

std::vector<int> SuggestionGraph::ChildModifiers(std::string_view word) const {
  std::vector<int> order(kModifierCount);
  std::iota(order.begin(), order.end(), 0);
  std::mt19937_64 rng(Fnv1a(seed_, word));
  std::shuffle(order.begin(), order.end(), rng);
  std::vector<int> children;
  for (int m : order) {
    // A modifier the word already holds is not added again.
    if (word.find(kModifiers[m]) != std::string_view::npos) continue;
    children.push_back(m);
    if (static_cast<int>(children.size()) == fanout_) break;
  }
  return children;
}

std::vector<std::string> SuggestionGraph::SuggestionsFor(std::string_view query) const {
  // Where the query stands in its tree: the first word is the root, each further word a
  // modifier that some node added. A query that is not such a path is a root of its own.
  std::vector<std::string_view> parts = Split(query);
  std::string node(parts[0]);
  // Nodes are numbered breadth-first from the root (0); a child is kept while its number is
  // below the size.
  long long level_start = 0;  // number of the first node of the node's level
  long long level_size = 1;
  long long index = 0;  // position of the node within its level
  bool is_path = true;
  for (size_t i = 1; i < parts.size() && is_path; ++i) {
    std::vector<int> children = ChildModifiers(node);
    auto it = std::find_if(children.begin(), children.end(),
                           [&](int m) { return kModifiers[m] == parts[i]; });
    if (it == children.end()) {
      is_path = false;
      break;
    }
    index = index * fanout_ + (it - children.begin());
    level_start += level_size;
    level_size *= fanout_;
    node += " ";
    node += parts[i];
  }
  if (!is_path) {
    node = std::string(query);
    index = 0;
    level_start = 0;
    level_size = 1;
  }

  std::vector<std::string> out;
  out.push_back(std::string(query));
  std::vector<int> children = ChildModifiers(node);
  for (size_t c = 0; c < children.size(); ++c) {
    long long child_rank = level_start + level_size + index * fanout_ + static_cast<long long>(c);
    if (child_rank >= size_) break;
    out.push_back(node + " " + std::string(kModifiers[children[c]]));
  }
  out.emplace_back(kHotWord);
  return out;
}

std::string JsonEscape(std::string_view text) {
  std::string out;
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string SuggestionGraph::ReplyFor(std::string_view query) const {
  std::string body = "{\"server_time\":1733900000,\"result\":{\"query\":\"" + JsonEscape(query) +
                     "\",\"tag_list\":[\"热搜\",\"新品\"],\"suggest_list\":[";
  std::vector<std::string> words = SuggestionsFor(query);
  for (size_t i = 0; i < words.size(); ++i) {
    if (i) body += ",";
    body += "\"" + JsonEscape(words[i]) + "\"";
  }
  return body + "]}}";
}

}  // namespace lw
