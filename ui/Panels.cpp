#include "ui/AppState.h"
#include "ui/DlgItems.h"
#include "ui/FilterLists.h"
#include "ui/Handlers.h"
#include "view/ControlIds.h"
#include "view/ItemFilter.h"
#include "view/PanelLayout.h"

namespace ledgrin {

void OnTableChosen(HWND window, TableIndex t) {
    const TablePanel& panel = PanelFor(t);
    // Every hide comes before every show, so controls sharing a place never overlap.
    for (const ControlVisibility& c : PanelVisibility(t))
        ShowItem(window, c.id, c.visible);
    EnableItem(window, IdCharFilterCombo, TableHasCharFilter(t));
    EnableItem(window, IdTypeFilterCombo, TableHasTypeFilter(t));
    EnableItem(window, IdShopActiveCheck, panel.shopFilterEnabled);
    for (int i = 0; i < 5; ++i)
        SetItemText(window, kStatCaptions[i], panel.statCaptions[i]);
    for (const FilterFill& fill : FilterFills(t))
        if (fill.comboId != 0) FillFilterList(window, fill.comboId, fill.firstRow, *fill.labels);
    gApp.currentTable = t;
    // Synchronous: the list has been refilled from the new table when this returns.
    SendMessageA(window, WM_COMMAND, IdResetFiltersButton, 0);
}

} // namespace ledgrin
