// Model check of edits and saves: thousands of random edits through the record writers,
// with tables saved now and then and the archive read back after every save. A model kept
// here, as plain bytes, changes only the bytes of the field written; the store must equal
// it after every edit, and the reloaded archive must hold, for each table, the bytes of
// its last save. Saving unchanged data again never makes the archive grow.
#include "archive/TableLoad.h"
#include "archive/TableSave.h"
#include "records/DescRecord.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"
#include "tests/faults/FaultSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace ledgrin;
using namespace ledgrin::faults;

namespace {

constexpr std::uint32_t kModelSeed = 7331;
constexpr int kEdits = 4000;
constexpr int kEditsPerSave = 50;

// The model's own rules, written from the record format rather than taken from the code.
void ModelPut(Bytes& records, std::size_t at, std::size_t width, std::uint32_t value) {
    for (std::size_t i = 0; i < width; ++i)
        records[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Name: 40 bytes at 8 cleared, then at most 39 characters up to the first NUL.
void ModelName(Bytes& records, std::size_t record, const std::string& text) {
    std::size_t at = record + 8;
    std::fill(records.begin() + at, records.begin() + at + 40, 0);
    for (std::size_t i = 0; i < text.size() && i < 39 && text[i] != '\0'; ++i)
        records[at + i] = static_cast<std::uint8_t>(text[i]);
}

// Desc text: 512 bytes at 4 cleared, then the text without carriage returns, up to a NUL
// or 512 stored bytes.
void ModelDescText(Bytes& records, std::size_t record, const std::string& text) {
    std::size_t at = record + 4;
    std::fill(records.begin() + at, records.begin() + at + 512, 0);
    std::size_t stored = 0;
    for (std::size_t i = 0; i < text.size() && stored < 512 && text[i] != '\0'; ++i)
        if (text[i] != '\r') records[at + stored++] = static_cast<std::uint8_t>(text[i]);
}

class ModelCheckTest : public testing::Test {
  protected:
    ScratchDir scratch;
    std::string archive = (scratch.path() / "tarvik_gb.iff").string();
    TableStore store;  // the editor's tables, changed only through the writers
    TableStore memory; // the model of store
    TableStore disk;   // the model of the archive: each table as last saved
    std::mt19937 random{kModelSeed};

    void SetUp() override {
        TableStore demo = SmallDemoTables();
        ASSERT_NO_FATAL_FAILURE(WriteDemoArchive(archive, demo));
        ASSERT_TRUE(LoadAll(archive, store));
        memory = disk = store;
    }

    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(random() % n); }

    std::string RandomText(std::size_t maxLength, bool lineBreaks) {
        static const char kChars[] =
            "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\xE9\xFC";
        std::string text(Below(static_cast<std::uint32_t>(maxLength) + 1), ' ');
        for (char& c : text) {
            std::uint32_t pick = Below(100);
            if (lineBreaks && pick < 4)
                c = pick < 2 ? '\r' : '\n';
            else if (pick == 99)
                c = '\0'; // an embedded NUL ends the text
            else
                c = kChars[Below(sizeof kChars - 1)];
        }
        return text;
    }

    // A table with records, other than Desc when itemOnly.
    TableIndex PickTable(bool itemOnly) {
        for (;;) {
            TableIndex t = static_cast<TableIndex>(Below(kTableCount));
            if ((!itemOnly || IsItemTable(t)) && store[t].RecordCount > 0) return t;
        }
    }

    void EditField() {
        TableIndex t = PickTable(false);
        FieldList fields = TableFields(t);
        const FieldDef& field = *(fields.begin() + Below(static_cast<std::uint32_t>(fields.size())));
        std::size_t record = Below(store[t].RecordCount) * RecordSize(t);
        std::uint32_t value = static_cast<std::uint32_t>(random());
        SetField(store[t].Records.data() + record, field, value);
        ModelPut(memory[t].Records, record + field.offset, field.width, value);
    }

    void EditName() {
        TableIndex t = PickTable(true);
        std::size_t record = Below(store[t].RecordCount) * RecordSize(t);
        std::string text = RandomText(60, false);
        SetRecordName(store[t].Records.data() + record, text);
        ModelName(memory[t].Records, record, text);
    }

    void EditStats() {
        TableIndex t = PickTable(true);
        StatBlock layout = StatLayout(t);
        StatGroup group = Below(2) ? layout.first : layout.second;
        if (!group.present()) return;
        std::size_t record = Below(store[t].RecordCount) * RecordSize(t);
        std::uint32_t values[5];
        for (std::uint32_t& v : values)
            v = static_cast<std::uint32_t>(random());
        WriteStatGroup(store[t].Records.data() + record, group, values);
        for (std::size_t i = 0; i < 5; ++i)
            ModelPut(memory[t].Records, record + group.fields[i]->offset, group.fields[i]->width, values[i]);
    }

    void EditDescription() {
        TableSlot& desc = store[kDescTable];
        std::string text = RandomText(600, true);
        if (Below(8) == 0) {
            std::uint32_t typeId = static_cast<std::uint32_t>(random());
            ASSERT_EQ(AppendDescription(desc.Records, desc.RecordCount, typeId, text),
                      AppendResult::Appended);
            TableSlot& model = memory[kDescTable];
            std::size_t record = model.Records.size();
            model.Records.resize(record + 516, 0);
            ModelPut(model.Records, record, 4, typeId);
            ModelDescText(model.Records, record, text);
            model.RecordCount++;
            return;
        }
        std::size_t record = Below(desc.RecordCount) * 516;
        WriteDescText(desc.Records.data() + record, text);
        ModelDescText(memory[kDescTable].Records, record, text);
    }

    void Edit() {
        switch (Below(4)) {
        case 0: EditField(); break;
        case 1: EditName(); break;
        case 2: EditStats(); break;
        default: EditDescription(); break;
        }
    }

    void Save(TableIndex t) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(SaveTable(store, t, archive, scratch.path().string()), kSaved) << EntryName(t);
        testing::internal::GetCapturedStdout();
        disk[t] = memory[t];
    }

    // Some of the tables, at least one: a table that is not saved keeps its old bytes on disk.
    void SaveSome() {
        TableIndex first = static_cast<TableIndex>(Below(kTableCount));
        Save(first);
        for (TableIndex t = 0; t < kTableCount; ++t)
            if (t != first && Below(4) == 0) Save(t);
        // Unchanged data saved again: the archive keeps its size.
        auto size = fs::file_size(archive);
        Save(first);
        EXPECT_EQ(fs::file_size(archive), size) << "saving " << EntryName(first) << " again grew the archive";
    }

    void ExpectStoreMatchesModel() {
        for (TableIndex t = 0; t < kTableCount; ++t) {
            EXPECT_EQ(store[t].RecordCount, memory[t].RecordCount) << EntryName(t);
            EXPECT_TRUE(store[t].Records == memory[t].Records) << EntryName(t) << " differs from the model";
        }
    }

    void ExpectArchiveMatchesModel() {
        TableStore reloaded;
        ASSERT_TRUE(LoadAll(archive, reloaded));
        for (TableIndex t = 0; t < kTableCount; ++t) {
            EXPECT_EQ(reloaded[t].RecordCount, disk[t].RecordCount) << EntryName(t);
            EXPECT_EQ(reloaded[t].HeaderWord2, disk[t].HeaderWord2) << EntryName(t);
            EXPECT_EQ(reloaded[t].Version, disk[t].Version) << EntryName(t);
            EXPECT_TRUE(reloaded[t].Records == disk[t].Records) << EntryName(t) << " on disk differs";
        }
        EXPECT_EQ(ListDir(scratch.path()), std::vector<std::string>{"tarvik_gb.iff"});
    }
};

} // namespace

TEST_F(ModelCheckTest, RandomEditsAndSavesReloadAsTheModelSays) {
    for (int edit = 1; edit <= kEdits && !HasFailure(); ++edit) {
        SCOPED_TRACE("edit " + std::to_string(edit) + " (seed " + std::to_string(kModelSeed) + ")");
        Edit();
        ExpectStoreMatchesModel();
        if (edit % kEditsPerSave == 0) {
            SaveSome();
            ExpectArchiveMatchesModel();
        }
    }
}

// Every table saved twice over with nothing changed: the second round writes an archive of
// exactly the size of the first (no field or header piles up from save to save).
TEST_F(ModelCheckTest, SavingUnchangedTablesAgainKeepsTheArchiveSize) {
    for (TableIndex t = 0; t < kTableCount; ++t)
        Save(t);
    auto once = fs::file_size(archive);
    Bytes first = ReadFileBytes(archive);
    for (TableIndex t = 0; t < kTableCount; ++t)
        Save(t);
    EXPECT_EQ(fs::file_size(archive), once);
    EXPECT_EQ(ReadFileBytes(archive), first);
    ExpectArchiveMatchesModel();
}
