#include "view/RecordEdit.h"

#include "records/Diagnostics.h"
#include "records/RecordHead.h"
#include "view/ControlIds.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace ledgrin {

namespace {

bool HasRecord(const TableStore& store, TableIndex t, std::uint32_t index) {
    if (!IsItemTable(t)) return false;
    const TableSlot& slot = store[t];
    return index < slot.RecordCount && (index + std::size_t{1}) * RecordSize(t) <= slot.Records.size();
}

// Printed before anything changes, with the name as it was.
void ReportEntry(UpdateOutcome& out, std::uint32_t index, std::uint32_t typeId, std::string_view name) {
    char line[128];
    std::snprintf(line, sizeof line, "Entry to Update: %d (%d, %.*s)\n", static_cast<int>(index),
                  static_cast<std::int32_t>(typeId), static_cast<int>(name.size()), name.data());
    DiagPrintf("%s", line);
    try {
        out.entryLine = line;
    } catch (const std::bad_alloc&) {
        // The line is out already; only the caller's copy is missing.
    }
}

void UpdateDescription(TableStore& store, std::uint32_t typeId, std::string_view text, UpdateOutcome& out) {
    TableSlot& desc = store[kDescTable];
    std::size_t count = std::min<std::size_t>(desc.RecordCount, desc.Records.size() / kDescRecordSize);
    std::size_t i = FindDescription(desc.Records.data(), count, typeId);
    if (i != kNoDescription) {
        DiagPrintf("Update Description: %d (%d)\n", static_cast<int>(i), static_cast<std::int32_t>(typeId));
        WriteDescText(store.Record(kDescTable, i), text);
        out.descIndex = i;
        return;
    }
    DiagLine("Description not found, adding");
    out.appended = true;
    out.append = AppendDescription(desc.Records, desc.RecordCount, typeId, text);
    if (out.append == AppendResult::Appended) out.descIndex = desc.RecordCount - std::size_t{1};
}

struct CheckPair {
    int clicked;
    int other;
    bool checkOtherOnUncheck; // Minimum/Maximum: one of the two is always checked
};

constexpr CheckPair kCheckPairs[] = {
    {IdAvailInShopCheck, IdDisplayOnlyCheck, false},
    {IdDisplayOnlyCheck, IdAvailInShopCheck, false},
    {IdMinimumCheck, IdMaximumCheck, true},
    {IdMaximumCheck, IdMinimumCheck, true},
};

} // namespace

UpdateOutcome ApplyRecordUpdate(TableStore& store, TableIndex t, std::uint32_t index, std::uint32_t typeIdBox,
                                const RecordValues& panel, std::string_view descriptionText) noexcept {
    UpdateOutcome out;
    if (!HasRecord(store, t, index) || RecordTypeId(store.Record(t, index)) != typeIdBox) {
        DiagLine("No Item selected, no Update.");
        return out;
    }
    std::uint8_t* record = store.Record(t, index);
    std::uint32_t typeId = RecordTypeId(record);
    ReportEntry(out, index, typeId, RecordName(record));
    ApplyUpdate(t, record, panel);
    out.refused = false;
    out.name = RecordName(record);
    UpdateDescription(store, typeId, descriptionText.substr(0, kDescriptionBoxLimit - 1), out);
    return out;
}

PairEffect CheckPairEffect(int clickedId, bool nowChecked) {
    for (const CheckPair& pair : kCheckPairs) {
        if (pair.clicked != clickedId) continue;
        if (nowChecked) return {pair.other, false, true};
        return {pair.other, pair.checkOtherOnUncheck, pair.checkOtherOnUncheck};
    }
    return {0, false, false};
}

std::uint32_t ParseNumberBox(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0xFFFFFFFFu) return 0;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace ledgrin
