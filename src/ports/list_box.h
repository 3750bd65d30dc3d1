#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gantrel {

// The most rows a list holds: row indices and counts are 16-bit.
constexpr int16_t kMaxRows = 32767;

// A single-selection list of text rows, each carrying one 32-bit item-data value. The game list
// keeps rows in the order added; the private list sorts them, letter case ignored.
class ListBox {
 public:
  virtual ~ListBox() = default;
  virtual int16_t Count() const = 0;
  // Index of the selected row, or -1.
  virtual int16_t Selected() const = 0;
  virtual std::string Row(int16_t row) const = 0;
  // Every row's text in order, each followed by `end`.
  virtual std::string RowsText(std::string_view end) const = 0;
  // Replaces the row's text in place: same index (also in a sorted list), same item data.
  virtual void SetRow(int16_t row, const std::string& text) = 0;
  virtual int32_t ItemData(int16_t row) const = 0;
  virtual void SetItemData(int16_t row, int32_t data) = 0;
  // Adds a row (item data 0) at the end, or at its sorted place; nothing when the list is full.
  virtual void Add(const std::string& text) = 0;
  // Fills the empty list: adds the rows in this order with the same result as Add one by one,
  // until the list is full or a row is refused; gives how many were added.
  virtual int16_t AddRows(const std::vector<std::string_view>& rows) = 0;
  virtual void Remove(int16_t row) = 0;
  // Removes every row; afterwards Selected() is -1.
  virtual void Clear() = 0;
  // Clears the selection of that row; afterwards Selected() is -1.
  virtual void Deselect(int16_t row) = 0;
};

}  // namespace gantrel
