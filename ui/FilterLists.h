// Filling the four drop-down lists from the label lists.
#pragma once

#include "records/Labels.h"

#include <windows.h>

namespace ledgrin {

// Empties filter list `id`, adds firstRow with item data 0 and every non-blank label with
// item data position + 1, and selects row 0 (without a selection-change notification).
void FillFilterList(HWND window, int id, const char* firstRow, const LabelList& labels);

// Fills record list `id` (currency, level) with every label, so that a row index is the
// code a record stores; no row is selected.
void FillRecordList(HWND window, int id, const LabelList& labels);

} // namespace ledgrin
