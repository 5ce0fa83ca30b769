#pragma once
// Commands on the main list's selection and check marks, and the cut and
// paste that move rows to another place. None of them asks anything or
// touches a file.

#include "core/playlist/main_list.h"

#include <vector>

namespace listora {

// Rows cut and waiting to be pasted, in list order, without check marks.
using CutBuffer = std::vector<PlaylistEntry>;

void checkSelected(MainList& list);
void invertCheckOfSelected(MainList& list);
void uncheckSelected(MainList& list);

void invertSelection(MainList& list);
void selectAll(MainList& list);
void selectChecked(MainList& list);

// Moves the selected rows into the buffer, replacing what it held; with no
// row selected nothing changes.
void cutSelected(MainList& list, CutBuffer& buffer);
// Puts the buffer's rows back before the focus row when a row is selected
// and there is a focus row, at the end otherwise; empties the buffer.
void pasteCut(MainList& list, CutBuffer& buffer);
// Removes the selected rows; their files stay.
void removeSelected(MainList& list);

}  // namespace listora
