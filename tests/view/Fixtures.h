// Hand-built records and stores for the editor logic tests. Offsets are written out here on
// purpose, so a layout mistake in the code cannot hide in the fixture; the record sizes are
// the record tests' to hold.
#pragma once

#include "archive/TableStore.h"
#include "records/TableInfo.h"
#include "tests/support/TestFiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

using ledgrin::test::Bytes;
using ledgrin::test::Put;
using ledgrin::test::PutText;

// An enabled item record (Enabled 1 at 0x00, TypeID at 0x04, Name at 0x08) of table t
// whose other bytes hold a filler that differs from byte to byte, so that any byte the
// code touches by mistake shows. Level 0x30, ShopFlags 0x68 and MarkFlags 0x69 start 0.
inline Bytes ItemRecord(int t, std::uint32_t typeId, const std::string& name) {
    Bytes r(ledgrin::RecordSize(t));
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = static_cast<std::uint8_t>(0x80 + ((i * 37 + 11) % 0x7F));
    Put(r, 0x00, 4, 1);
    Put(r, 0x04, 4, typeId);
    PutText(r, 0x08, name, 40);
    Put(r, 0x30, 1, 0);
    Put(r, 0x68, 2, 0);
    return r;
}

// Appends a record to table t of the store and returns its index.
inline std::uint32_t Add(ledgrin::TableStore& store, int t, const Bytes& record) {
    ledgrin::TableSlot& slot = store[t];
    slot.Records.Append(record.data(), record.size());
    return slot.RecordCount++;
}

// A Desc record: TypeID at 0, the text at 4 (512 bytes, zero behind it).
inline std::uint32_t AddDesc(ledgrin::TableStore& store, std::uint32_t typeId, const std::string& text) {
    Bytes r(516);
    Put(r, 0, 4, typeId);
    PutText(r, 4, text, 512);
    return Add(store, 0, r);
}

} // namespace fixtures
