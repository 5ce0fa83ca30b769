#pragma once
// What a list of rows tells a view about its selection: each row's mark and
// the focus row. The list is the one record of them; the view reads and
// writes them here.

#include <cstddef>

namespace listora {

class RowSelection {
public:
    static constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);

    virtual ~RowSelection() = default;
    virtual std::size_t size() const = 0;
    virtual bool isSelected(std::size_t row) const = 0;
    // Marks rows first..last; a whole list at a time, so one call a change.
    virtual void setSelected(std::size_t first, std::size_t last, bool selected) = 0;
    virtual std::size_t focusRow() const = 0;  // kNoRow when none
    virtual void setFocusRow(std::size_t row) = 0;
};

}  // namespace listora
