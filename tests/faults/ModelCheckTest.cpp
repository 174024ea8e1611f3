// Model check of edits and saves: thousands of random edits through the record writers,
// with tables saved now and then and the archive read back after every save. The model is
// the bytes of each table as last saved; the reloaded archive must hold exactly them, for
// the tables saved and the ones not. Saving unchanged data again changes no stored byte.
#include "archive/TableLoad.h"
#include "records/DescRecord.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"
#include "tests/faults/FaultSupport.h"

#include <algorithm>
#include <random>

using namespace ledgrin;
using namespace ledgrin::faults;

namespace {

constexpr std::uint32_t kModelSeed = 7331;
constexpr int kEdits = 4000;
constexpr int kEditsPerSave = 50;

class ModelCheckTest : public FaultTest {
  protected:
    TableStore store = original; // the editor's tables, changed only through the writers
    TableStore disk = original;  // the model of the archive: each table as last saved
    std::mt19937 random{kModelSeed};

    std::uint32_t Next() { return static_cast<std::uint32_t>(random()); }

    std::uint32_t Below(std::size_t n) { return static_cast<std::uint32_t>(Next() % n); }

    // Letters, digits and two Latin-1 letters; a NUL now and then, which ends the text, and,
    // in a description, line breaks.
    std::string RandomText(std::size_t maxLength, bool lineBreaks) {
        static const char kChars[] =
            "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\xE9\xFC\0\r\n";
        std::string text(Below(maxLength + 1), ' ');
        for (char& c : text)
            c = kChars[Below(sizeof kChars - (lineBreaks ? 1 : 3))];
        return text;
    }

    // A record of a table that has records, an item table when itemOnly.
    std::pair<TableIndex, std::uint8_t*> PickRecord(bool itemOnly) {
        for (;;) {
            const TableIndex t = static_cast<TableIndex>(Below(kTableCount));
            if ((!itemOnly || IsItemTable(t)) && store[t].RecordCount > 0)
                return {t, store[t].Records.data() + Below(store[t].RecordCount) * RecordSize(t)};
        }
    }

    void Edit() {
        switch (Below(4)) {
        case 0: {
            const auto [t, record] = PickRecord(false);
            const FieldList fields = TableFields(t);
            SetField(record, *(fields.begin() + Below(fields.size())), Next());
            break;
        }
        case 1: SetRecordName(PickRecord(true).second, RandomText(60, false)); break;
        case 2: {
            const auto [t, record] = PickRecord(true);
            const std::uint32_t values[5] = {Next(), Next(), Next(), Next(), Next()};
            WriteStatGroup(record, Below(2) ? StatLayout(t).first : StatLayout(t).second, values);
            break;
        }
        default:
            TableSlot& desc = store[kDescTable];
            if (Below(8) == 0)
                ASSERT_EQ(AppendDescription(desc.Records, desc.RecordCount, Next(), RandomText(600, true)),
                          AppendResult::Appended);
            else
                WriteDescText(desc.Records.data() + Below(desc.RecordCount) * RecordSize(kDescTable),
                              RandomText(600, true));
        }
    }

    void Save(TableIndex t) {
        EXPECT_EQ(FaultTest::Save(store, t, game), kSaved) << EntryName(t);
        disk[t] = store[t];
    }

    // Every header and every entry's data as stored, the DOS times zeroed.
    Bytes UntimedEntries() const {
        Bytes all;
        for (RawEntry e : ReadRawEntries(archive)) {
            std::fill_n(e.central.begin() + 12, 4, 0);
            std::fill_n(e.local.begin() + 10, 4, 0);
            all.insert(all.end(), e.central.begin(), e.central.end());
            all.insert(all.end(), e.local.begin(), e.local.end());
        }
        return all;
    }

    void ExpectArchiveMatchesModel() {
        TableStore reloaded;
        ASSERT_TRUE(LoadAll(archive, reloaded));
        for (TableIndex t = 0; t < kTableCount; ++t)
            EXPECT_TRUE(SameSlot(reloaded[t], disk[t])) << EntryName(t) << " on disk differs from the model";
        EXPECT_EQ(Snapshot(game).size(), 1u) << "a temporary archive was left behind";
    }
};

} // namespace

TEST_F(ModelCheckTest, RandomEditsAndSavesReloadAsTheModelSays) {
    for (int edit = 1; edit <= kEdits && !HasFailure(); ++edit) {
        SCOPED_TRACE("edit " + std::to_string(edit) + " (seed " + std::to_string(kModelSeed) + ")");
        Edit();
        if (edit % kEditsPerSave != 0) continue;
        // Some of the tables, at least one; the first saved again unchanged writes the same
        // entries, byte for byte, but for their DOS time and date (a save stamps its table).
        const TableIndex first = static_cast<TableIndex>(Below(kTableCount));
        Save(first);
        const Bytes once = UntimedEntries();
        Save(first);
        EXPECT_EQ(UntimedEntries(), once) << "saving " << EntryName(first) << " again changed the archive";
        for (TableIndex t = 0; t < kTableCount; ++t)
            if (t != first && Below(4) == 0) Save(t);
        ExpectArchiveMatchesModel();
    }
}
