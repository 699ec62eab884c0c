#include "app/headless_view.h"

#include "base/codepage.h"

namespace lw {

HeadlessView::HeadlessView(std::string keyword_text, std::FILE* rows_out, std::FILE* status_out)
    : keyword_text_(std::move(keyword_text)), rows_out_(rows_out), status_out_(status_out) {}

void HeadlessView::Invoke(const std::function<void()>& action) {
  std::lock_guard<std::mutex> lock(mutex_);
  action();
}

int HeadlessView::InsertRow() {
  rows_.push_back({});
  return static_cast<int>(rows_.size());
}

void HeadlessView::SetCellText(int row, int column, const std::string& text) {
  if (row < 1 || row > RowCount() || column < 1 || column > 2) return;
  auto& cells = rows_[static_cast<size_t>(row - 1)];
  cells[static_cast<size_t>(column - 1)] = text;
  // The word is the row's last cell: the row is complete once it is set.
  if (column == 2 && rows_out_) {
    std::string line = GbkToUtf8Text(cells[0]) + "\t" + GbkToUtf8Text(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), rows_out_);
    std::fflush(rows_out_);
  }
}

void HeadlessView::SetStatusText(const std::string& text) {
  if (text == status_) return;
  status_ = text;
  if (status_out_) {
    std::string line = GbkToUtf8Text(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), status_out_);
    std::fflush(status_out_);
  }
}

std::string HeadlessView::Status() {
  std::lock_guard<std::mutex> lock(mutex_);
  return status_;
}

std::string SeedFileToKeywordText(std::string_view utf8) {
  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  std::string text;
  size_t from = 0;
  while (from <= utf8.size()) {
    size_t end = utf8.find('\n', from);
    if (end == std::string_view::npos) {
      text.append(utf8.substr(from));
      break;
    }
    std::string_view line = utf8.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    text.append(line);
    text += "\r\n";
    from = end + 1;
  }
  return Utf8ToGbk(text);
}

}  // namespace lw
