#pragma once
#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/list_box.h"

namespace gantrel::testing {

// In-memory list box. A sorted one keeps the case-insensitive order of the real control.
class FakeListBox : public ListBox {
 public:
  struct Row {
    std::string text;
    int32_t data = 0;
  };

  explicit FakeListBox(bool sorted = false) : sorted_(sorted) {}

  int16_t ListCount() const override { return static_cast<int16_t>(rows.size()); }
  int16_t ListIndex() const override { return selected; }
  std::string List(int16_t row) const override { return rows.at(Check(row)).text; }
  void SetList(int16_t row, const std::string& text) override { rows.at(Check(row)).text = text; }
  int32_t ItemData(int16_t row) const override { return rows.at(Check(row)).data; }
  void SetItemData(int16_t row, int32_t data) override { rows.at(Check(row)).data = data; }
  bool AddItem(const std::string& text) override {
    if (rows.size() >= static_cast<size_t>(kMaxRows)) return false;
    auto at = rows.end();
    if (sorted_) {
      at = std::upper_bound(rows.begin(), rows.end(), text, [](const std::string& t, const Row& r) {
        return LessNoCase(t, r.text);
      });
    }
    rows.insert(at, Row{text, 0});
    return true;
  }
  void RemoveItem(int16_t row) override {
    rows.erase(rows.begin() + Check(row));
    if (selected == row) selected = -1;
    else if (selected > row) --selected;
  }
  void Deselect(int16_t row) override {
    if (selected == row) selected = -1;
  }

  // Test helpers.
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.text);
    return out;
  }
  void Fill(const std::vector<std::string>& texts) {
    for (const auto& t : texts) AddItem(t);
  }

  static bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
  }

  std::vector<Row> rows;
  int16_t selected = -1;

 private:
  size_t Check(int16_t row) const {
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) throw std::out_of_range("list row");
    return static_cast<size_t>(row);
  }
  bool sorted_;
};

}  // namespace gantrel::testing
