// Arbitrary record bytes through the record display, the Desc text functions, the
// set-member listing, the Update's write rules and the list filter. Input: byte 0 picks
// the item table (1 + byte % 13), byte 1 the length of a search text (modulo 39); then
// one record of the table, the search text, and Desc records (each part padded with
// zeros when the input ends early). Every buffer has exactly its size, so a read past a
// record or a Desc text is caught by the address checker.
#include "records/DescRecord.h"
#include "records/NameSearch.h"
#include "records/RecordFields.h"
#include "records/RecordValues.h"
#include "records/SetMembers.h"
#include "tests/fuzz/FuzzSupport.h"
#include "view/ItemFilter.h"
#include "view/RecordDisplay.h"

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::fuzz;

namespace {

// Offsets written out here rather than taken from the code's layout tables.
constexpr std::size_t kNameAt = 8, kNameBytes = 40;
constexpr std::size_t kDescSize = 516, kTextAt = 4, kTextBytes = 512;

// Takes n bytes from the input, zeros once it has run out.
Bytes Take(const std::uint8_t*& data, std::size_t& size, std::size_t n) {
    Bytes out(n, 0);
    std::size_t k = std::min(n, size);
    std::copy(data, data + k, out.begin());
    data += k;
    size -= k;
    return out;
}

unsigned char Fold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// The display's values are the record tests'; here only that it reads arbitrary bytes
// within the record and lists what the set-member listing gives, whatever the stored count.
void CheckDisplay(const TableStore& store, TableIndex t, const std::uint8_t* record) {
    const RecordDisplay d = BuildRecordDisplay(store, t, 0);
    FUZZ_CHECK(d.valid && !BuildRecordDisplay(store, t, 1).valid);
    FUZZ_CHECK(d.members.size() == (t == kSetItemTable ? ListSetMembers(record).count : 0));
}

// Showing a text and storing what was shown gives the stored text without carriage
// returns, cut at its NUL, zeros behind; the TypeID stays.
void CheckDescRoundTrip(const std::uint8_t* desc) {
    std::string shown = DescTextForDisplay(desc);
    FUZZ_CHECK(shown.size() <= 2 * kTextBytes);
    Bytes expected(desc, desc + kDescSize);
    std::size_t out = kTextAt;
    for (std::size_t i = 0; i < kTextBytes && desc[kTextAt + i] != 0; ++i)
        if (desc[kTextAt + i] != '\r') expected[out++] = desc[kTextAt + i];
    std::fill(expected.begin() + static_cast<std::ptrdiff_t>(out), expected.end(), 0);

    Bytes written(desc, desc + kDescSize);
    WriteDescText(written.data(), shown);
    FUZZ_CHECK(written == expected);
}

void CheckDescriptions(const TableSlot& desc, std::uint32_t typeId) {
    std::size_t first = kNoDescription;
    for (std::size_t i = 0; i < desc.RecordCount; ++i) {
        const std::uint8_t* r = desc.Records.data() + i * kDescSize;
        CheckDescRoundTrip(r);
        if (first == kNoDescription && Get(r, 4) == typeId) first = i;
    }
    FUZZ_CHECK(FindDescription(desc.Records.data(), desc.RecordCount, typeId) == first);
}

// The bytes an Update may write for table t: the name, the head's editable fields and the
// table's editable and derived fields.
std::vector<bool> WritableBytes(TableIndex t) {
    std::vector<bool> writable(RecordSize(t), false);
    for (std::size_t i = kNameAt; i < kNameAt + kNameBytes; ++i)
        writable[i] = true;
    for (const FieldDef& f : TableFields(t))
        if (f.access != FieldAccess::ReadOnly)
            for (std::size_t i = f.offset; i < f.offset + f.width; ++i)
                writable[i] = true;
    return writable;
}

// Writing back what is shown touches no byte outside the written fields, and a second
// round changes nothing more.
void CheckUpdateRoundTrip(TableIndex t, const Bytes& record) {
    Bytes once = record;
    ApplyUpdate(t, once.data(), ReadRecordValues(t, record.data()));
    std::vector<bool> writable = WritableBytes(t);
    for (std::size_t i = 0; i < record.size(); ++i)
        FUZZ_CHECK(writable[i] || once[i] == record[i]);
    Bytes twice = once;
    ApplyUpdate(t, twice.data(), ReadRecordValues(t, once.data()));
    FUZZ_CHECK(twice == once);
}

void CheckSearch(const TableStore& store, TableIndex t, const std::uint8_t* record, const std::string& text) {
    std::string_view name(reinterpret_cast<const char*>(record + kNameAt), kNameBytes);
    name = name.substr(0, name.find('\0'));
    std::string_view pattern = std::string_view(text).substr(0, text.find('\0'));
    std::optional<std::size_t> at = FindTextNoCase(name, pattern);
    auto matchesAt = [&](std::size_t p) {
        if (p + pattern.size() > name.size()) return false;
        for (std::size_t i = 0; i < pattern.size(); ++i)
            if (Fold(name[p + i]) != Fold(pattern[i])) return false;
        return true;
    };
    for (std::size_t p = 0; p < (at ? *at : name.size() + 1); ++p)
        FUZZ_CHECK(!matchesAt(p));
    if (at) FUZZ_CHECK(matchesAt(*at));

    int ab = CompareNamesNoCase(name, pattern), ba = CompareNamesNoCase(pattern, name);
    FUZZ_CHECK((ab < 0) == (ba > 0) && (ab == 0) == (ba == 0));

    FilterState state;
    state.search = text;
    ListRowsResult rows = ListRows(store, t, state);
    bool listed = Get(record, 4) != 0 && at.has_value();
    FUZZ_CHECK(rows.ok && rows.rows.size() == (listed ? 1u : 0u));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const TableIndex t = 1 + data[0] % 13;
    const std::size_t searchLength = data[1] % 39;
    data += 2;
    size -= 2;

    TableStore store;
    store[t] = {1, 0, 13, Take(data, size, RecordSize(t))};
    Bytes search = Take(data, size, searchLength);
    const std::size_t descCount = std::min<std::size_t>((size + kDescSize - 1) / kDescSize, 64);
    store[kDescTable] = {static_cast<std::uint16_t>(descCount), 0, 13,
                         Take(data, size, descCount * kDescSize)};

    const std::uint8_t* record = store[t].Records.data();
    CheckDisplay(store, t, record);
    CheckDescriptions(store[kDescTable], Get(record + 4, 4));
    CheckUpdateRoundTrip(t, store[t].Records);
    CheckSearch(store, t, record, std::string(search.begin(), search.end()));
    return 0;
}
