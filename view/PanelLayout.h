// The record panel per table: which groups of controls show, whether " Shop active" is
// enabled and the five stat captions, one row per table; the filter lists follow from the
// fields each table filters by. The window's table switch applies these and nothing else.
#pragma once

#include "records/Labels.h"
#include "records/TableInfo.h"

#include <array>
#include <cstddef>

namespace ledgrin {

// Controls that are always shown or hidden together. Several groups share a place on the
// panel (first stat boxes and set members; bonus and card blocks; discount and 7-day
// price; 30-day price and " pay monthly") and are never shown together.
enum class PanelGroup : int {
    ShopBlock,
    Tradeable,
    NotGiftable,
    DiscountPrice,
    FirstStats,
    SecondStats,
    RentalPrices,
    BonusBlock,
    Monthly,
    SetMembers,
    CardBlock,
};
constexpr int kPanelGroupCount = 11;

// Number of controls in all groups together; each control is in exactly one group.
constexpr std::size_t kPanelControlCount = 46;

struct TablePanel {
    unsigned shownGroups;            // bit (1 << PanelGroup)
    bool shopFilterEnabled;          // 10016 " Shop active"
    const char* const* statCaptions; // five texts for 10030, 10033, 10036, 10039, 10042

    bool Shows(PanelGroup group) const { return (shownGroups >> static_cast<int>(group)) & 1u; }
};

// The row of item table t; any other t gives the Part row (the arrangement at creation).
const TablePanel& PanelFor(TableIndex t);

// A filter combo box refilled when the table is chosen (FillFilterList's arguments).
struct FilterFill {
    int comboId; // 10014 or 10015; 0 when the table has no such filter (the box is disabled)
    const char* firstRow;
    const LabelList* labels;
};

// The filter lists of table t (any other t: Part's) in fill order, 10014 before 10015:
// the labels of the field that each filter compares, under the first row of that list.
std::array<FilterFill, 2> FilterFills(TableIndex t);

struct ControlVisibility {
    int id;
    bool visible;
};

// The final visibility of every group control for table t, every hidden control before
// every shown one, so that two controls sharing a place are never visible together
// while the list is applied in order.
std::array<ControlVisibility, kPanelControlCount> PanelVisibility(TableIndex t);

} // namespace ledgrin
