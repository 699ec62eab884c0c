// The harvest without a window: rows go to standard output as "ID<TAB>word" lines (UTF-8),
// status texts to standard error, as they happen.
#pragma once

#include <array>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "app/harvest_view.h"

namespace lw {

class HeadlessView : public HarvestView {
 public:
  // `keyword_text` is the seed list as the keyword edit box would hold it (GBK, CR LF lines).
  HeadlessView(std::string keyword_text, std::FILE* rows_out, std::FILE* status_out);

  void Invoke(const std::function<void()>& action) override;
  std::string KeywordText() override { return keyword_text_; }
  void DeleteAllRows() override { rows_.clear(); }
  int InsertRow() override;
  void SetCellText(int row, int column, const std::string& text) override;
  int RowCount() override { return static_cast<int>(rows_.size()); }
  void EnsureVisible(int) override {}
  void SetStatusText(const std::string& text) override;
  void SetStartDisabled(bool disabled) override { start_disabled_ = disabled; }

  // The last status text (GBK).
  std::string Status();

 private:
  std::mutex mutex_;
  std::string keyword_text_;
  std::FILE* rows_out_;
  std::FILE* status_out_;
  std::vector<std::array<std::string, 2>> rows_;
  std::string status_;
  bool start_disabled_ = false;
};

// A seeds file's text (UTF-8, LF or CR LF line ends) as the keyword edit box would hold it:
// GBK with CR LF line ends. A leading byte-order mark is dropped.
std::string SeedFileToKeywordText(std::string_view utf8);

}  // namespace lw
