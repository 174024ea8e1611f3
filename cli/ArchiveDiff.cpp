#include "cli/ArchiveDiff.h"

#include "cli/CliText.h"
#include "cli/RecordIndex.h"
#include "cli/TableColumns.h"
#include "records/DescRecord.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace ledgrin::cli {

namespace {

constexpr std::size_t kMaxBytesShown = 16;

// Which bytes of a record some field, the name or the description text covers.
std::vector<bool> NamedBytes(TableIndex t) {
    std::vector<bool> named(RecordSize(t), false);
    auto mark = [&](std::size_t offset, std::size_t width) {
        for (std::size_t i = offset; i < offset + width; ++i)
            named[i] = true;
    };
    for (const FieldDef& field : TableFields(t))
        mark(field.offset, field.width);
    if (t == kDescTable)
        mark(kDescTextOffset, kDescTextSize);
    else
        mark(kNameOffset, kNameSize);
    return named;
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%s%02x", i ? " " : "", bytes[i]);
        out += hex;
    }
    return out;
}

std::string ByteRange(const std::uint8_t* a, const std::uint8_t* b, std::size_t from, std::size_t to) {
    std::string range = "bytes " + Hex(static_cast<std::uint32_t>(from), 3) + ".." +
                        Hex(static_cast<std::uint32_t>(to - 1), 3);
    const std::size_t n = to - from;
    if (n > kMaxBytesShown) return range + " (" + std::to_string(n) + " bytes) differ";
    return range + ": " + HexBytes(a + from, n) + " -> " + HexBytes(b + from, n);
}

void AddTextChange(std::vector<std::string>& out, const char* what, std::string_view a, std::string_view b,
                   bool bytesDiffer) {
    if (a != b)
        out.push_back(std::string(what) + ": " + QuotedText(a) + " -> " + QuotedText(b));
    else if (bytesDiffer)
        out.push_back(std::string(what) + ": bytes after the NUL differ");
}

class TableDiff {
  public:
    TableDiff(const TableStore& a, const TableStore& b, TableIndex t)
        : a_(a[t]), b_(b[t]), t_(t), size_(RecordSize(t)), named_(NamedBytes(t)) {}

    std::string Run(const TableStore& a, const TableStore& b) {
        CompareHeaders();
        const RecordPairs pairs = PairByTypeId(a, b, t_);
        for (std::size_t i = 0; i < a_.RecordCount; ++i) {
            if (pairs.partner[i] != RecordPairs::kUnpaired)
                CompareRecords(i, pairs.partner[i]);
            else
                out_ += std::string(EntryName(t_)) + " removed: " + Describe(a_.Record(i, size_), i) + "\n";
        }
        for (std::size_t j : pairs.onlyB)
            out_ += std::string(EntryName(t_)) + " added: " + Describe(b_.Record(j, size_), j) + "\n";
        return out_;
    }

  private:
    void CompareHeaders() {
        const std::string table = EntryName(t_);
        if (a_.RecordCount != b_.RecordCount)
            out_ +=
                table + ": RecordCount " + Decimal(a_.RecordCount) + " -> " + Decimal(b_.RecordCount) + "\n";
        if (a_.HeaderWord2 != b_.HeaderWord2)
            out_ +=
                table + ": HeaderWord2 " + Hex(a_.HeaderWord2, 4) + " -> " + Hex(b_.HeaderWord2, 4) + "\n";
        if (a_.Version != b_.Version)
            out_ += table + ": Version " + Decimal(a_.Version) + " -> " + Decimal(b_.Version) + "\n";
    }

    // The record's index and TypeID, with its name (a Desc record: its text, unless the
    // text is what changed and is shown below anyway).
    std::string Describe(const std::uint8_t* record, std::size_t index, bool withDescText = true) const {
        std::string text = "record " + std::to_string(index) + ", TypeID " + Decimal(TypeIdOf(t_, record));
        if (t_ != kDescTable) return text + " " + QuotedText(RecordName(record));
        return withDescText ? text + " " + QuotedText(StoredDescText(record)) : text;
    }

    void CompareRecords(std::size_t i, std::size_t j) {
        const std::uint8_t* ra = a_.Record(i, size_);
        const std::uint8_t* rb = b_.Record(j, size_);
        if (std::memcmp(ra, rb, size_) == 0) return;
        std::vector<std::string> changes;
        if (t_ == kDescTable)
            AddTextChange(changes, "Description", StoredDescText(ra), StoredDescText(rb),
                          std::memcmp(ra + kDescTextOffset, rb + kDescTextOffset, kDescTextSize) != 0);
        else
            AddTextChange(changes, "Name", RecordName(ra), RecordName(rb),
                          std::memcmp(ra + kNameOffset, rb + kNameOffset, kNameSize) != 0);
        for (const FieldDef& field : TableFields(t_)) {
            std::uint32_t va = GetField(ra, field), vb = GetField(rb, field);
            if (va != vb)
                changes.push_back(std::string(field.name) + ": " + Decimal(va) + " -> " + Decimal(vb));
        }
        AddUnnamedRanges(changes, ra, rb);
        std::string where = i == j ? "" : " (record " + std::to_string(j) + " in the second archive)";
        out_ += std::string(EntryName(t_)) + " changed: " + Describe(ra, i, false) + where + "\n";
        for (const std::string& change : changes)
            out_ += "  " + change + "\n";
    }

    // Runs of differing bytes that no field names; equal bytes end a run.
    void AddUnnamedRanges(std::vector<std::string>& changes, const std::uint8_t* ra, const std::uint8_t* rb) {
        std::size_t o = 0;
        while (o < size_) {
            if (named_[o] || ra[o] == rb[o]) {
                ++o;
                continue;
            }
            std::size_t end = o;
            while (end < size_ && !named_[end] && ra[end] != rb[end])
                ++end;
            changes.push_back(ByteRange(ra, rb, o, end));
            o = end;
        }
    }

    const TableSlot& a_;
    const TableSlot& b_;
    TableIndex t_;
    std::size_t size_;
    std::vector<bool> named_;
    std::string out_;
};

} // namespace

std::string DiffTable(const TableStore& a, const TableStore& b, TableIndex t) {
    return TableDiff(a, b, t).Run(a, b);
}

TableChangeCount CountChanges(const TableStore& a, const TableStore& b, TableIndex t) {
    const RecordPairs pairs = PairByTypeId(a, b, t);
    TableChangeCount count;
    count.added = pairs.onlyB.size();
    for (std::size_t i = 0; i < pairs.partner.size(); ++i) {
        if (pairs.partner[i] == RecordPairs::kUnpaired)
            ++count.removed;
        else
            count.changed += std::memcmp(a.Record(t, i), b.Record(t, pairs.partner[i]), RecordSize(t)) != 0;
    }
    return count;
}

std::string ChangeSummary(const TableStore& a, const TableStore& b) {
    std::string summary;
    for (TableIndex t : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0}) { // items, then descriptions
        const TableChangeCount c = CountChanges(a, b, t);
        std::string parts;
        const auto part = [&](std::size_t n, const std::string& text) {
            if (n > 0) parts += (parts.empty() ? "" : ", ") + text;
        };
        part(c.changed, Plural(c.changed, "record", "records") + " changed");
        part(c.added, std::to_string(c.added) + " added");
        part(c.removed, std::to_string(c.removed) + " removed");
        if (!parts.empty())
            summary += (summary.empty() ? "" : "; ") + std::string(EntryName(t)) + ": " + parts;
    }
    return summary.empty() ? "no record changed" : summary;
}

} // namespace ledgrin::cli
