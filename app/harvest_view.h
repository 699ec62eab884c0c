// What the harvest needs of the window: the keyword edit box, the result list, the status
// label and the start button. The main window, the headless front end and the tests each
// provide one.
#pragma once

#include <functional>
#include <string>

namespace lw {

class HarvestView {
 public:
  virtual ~HarvestView() = default;

  // Runs `action` serialised with every other action of the view: the harvest makes each group
  // of control changes, and the stop command its own, inside one action, so a stopped harvest
  // can never change a control after the stop. The window runs actions on its own thread; a
  // view without a thread of its own takes a lock. An action must not call Invoke again.
  virtual void Invoke(const std::function<void()>& action) = 0;

  // The operations below are only called from inside an action.
  virtual std::string KeywordText() = 0;  // GBK, lines ended by CR LF
  virtual void DeleteAllRows() = 0;
  virtual int InsertRow() = 0;  // appends an empty row, answers its 1-based number
  virtual void SetCellText(int row, int column, const std::string& text) = 0;
  virtual int RowCount() = 0;
  virtual void EnsureVisible(int row) = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetStartDisabled(bool disabled) = 0;
};

}  // namespace lw
