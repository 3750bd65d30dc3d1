#pragma once
#include <string>
#include <vector>

#include "fakes/fake_list_box.h"

namespace gantrel::testing {

// A FakeListBox that writes each row write into a log ("text 3", "data 3"), so that a test can
// see list writes in one sequence with the window calls of a FakeWindowHost.
class LoggedList : public ListBox {
 public:
  LoggedList(FakeListBox& list, std::vector<std::string>& log) : list_(list), log_(log) {}

  int16_t ListCount() const override { return list_.ListCount(); }
  int16_t ListIndex() const override { return list_.ListIndex(); }
  std::string List(int16_t row) const override { return list_.List(row); }
  void SetList(int16_t row, const std::string& text) override {
    log_.push_back("text " + std::to_string(row));
    list_.SetList(row, text);
  }
  int32_t ItemData(int16_t row) const override { return list_.ItemData(row); }
  void SetItemData(int16_t row, int32_t data) override {
    log_.push_back("data " + std::to_string(row));
    list_.SetItemData(row, data);
  }
  bool AddItem(const std::string& text) override { return list_.AddItem(text); }
  void RemoveItem(int16_t row) override { list_.RemoveItem(row); }
  void Deselect(int16_t row) override { list_.Deselect(row); }

 private:
  FakeListBox& list_;
  std::vector<std::string>& log_;
};

}  // namespace gantrel::testing
