#include "cli/ArchiveDiff.h"

#include "cli/CliText.h"
#include "cli/RecordIndex.h"
#include "cli/TableColumns.h"
#include "records/ByteAccess.h"
#include "records/DescRecord.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"

#include <cstring>
#include <utility>
#include <vector>

namespace ledgrin::cli {

namespace {

constexpr std::size_t kMaxBytesShown = 16;

// The runs of a record's bytes that no field, the name or the description text covers.
std::vector<std::pair<std::size_t, std::size_t>> UnnamedRuns(TableIndex t) {
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
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t o = 0; o < named.size(); ++o) {
        if (named[o]) continue;
        if (runs.empty() || runs.back().second != o)
            runs.emplace_back(o, o + 1);
        else
            ++runs.back().second;
    }
    return runs;
}

void AppendHexBytes(std::string& out, const std::uint8_t* bytes, std::size_t n) {
    static const char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) out += ' ';
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 15];
    }
}

void AppendByteRange(std::string& out, const std::uint8_t* a, const std::uint8_t* b, std::size_t from,
                     std::size_t to) {
    out += "  bytes " + Hex(static_cast<std::uint32_t>(from), 3) + ".." +
           Hex(static_cast<std::uint32_t>(to - 1), 3);
    const std::size_t n = to - from;
    if (n > kMaxBytesShown) {
        out += " (" + std::to_string(n) + " bytes) differ\n";
        return;
    }
    out += ": ";
    AppendHexBytes(out, a + from, n);
    out += " -> ";
    AppendHexBytes(out, b + from, n);
    out += '\n';
}

void AppendTextChange(std::string& out, const char* what, std::string_view a, std::string_view b,
                      bool bytesDiffer) {
    if (a == b && !bytesDiffer) return;
    out += "  ";
    out += what;
    if (a != b) {
        out += ": ";
        AppendQuoted(out, a, QuoteStyle::Message);
        out += " -> ";
        AppendQuoted(out, b, QuoteStyle::Message);
        out += '\n';
    } else {
        out += ": bytes after the NUL differ\n";
    }
}

// Changed records are written straight to the output, a line at a time: a diff of two
// full tables runs to megabytes.
class TableDiff {
  public:
    TableDiff(const TableStore& a, const TableStore& b, TableIndex t, BlockWriter& out)
        : a_(a[t]), b_(b[t]), t_(t), size_(RecordSize(t)), unnamed_(UnnamedRuns(t)), out_(out) {}

    void Run(const TableStore& a, const TableStore& b) {
        CompareHeaders();
        Emit();
        const RecordPairs pairs = PairByTypeId(a, b, t_);
        for (std::size_t i = 0; i < a_.RecordCount; ++i) {
            if (pairs.partner[i] != RecordPairs::kUnpaired) {
                CompareRecords(i, pairs.partner[i]);
            } else {
                text_ += std::string(EntryName(t_)) + " removed: ";
                Describe(a_.Record(i, size_), i);
                text_ += '\n';
            }
            Emit();
        }
        for (std::size_t j : pairs.onlyB) {
            text_ += std::string(EntryName(t_)) + " added: ";
            Describe(b_.Record(j, size_), j);
            text_ += '\n';
            Emit();
        }
    }

  private:
    // A record's lines, made in a string of their own, go to the output together.
    void Emit() {
        out_.Append(text_);
        text_.clear();
        out_.Written();
    }

    void CompareHeaders() {
        const std::string table = EntryName(t_);
        std::string& out = text_;
        if (a_.RecordCount != b_.RecordCount)
            out +=
                table + ": RecordCount " + Decimal(a_.RecordCount) + " -> " + Decimal(b_.RecordCount) + "\n";
        if (a_.HeaderWord2 != b_.HeaderWord2)
            out += table + ": HeaderWord2 " + Hex(a_.HeaderWord2, 4) + " -> " + Hex(b_.HeaderWord2, 4) + "\n";
        if (a_.Version != b_.Version)
            out += table + ": Version " + Decimal(a_.Version) + " -> " + Decimal(b_.Version) + "\n";
    }

    // The record's index and TypeID, with its name (a Desc record: its text, unless the
    // text is what changed and is shown below anyway).
    void Describe(const std::uint8_t* record, std::size_t index, bool withDescText = true) {
        std::string& out = text_;
        out += "record ";
        AppendDecimal(out, index);
        out += ", TypeID ";
        AppendDecimal(out, TypeIdOf(t_, record));
        if (t_ != kDescTable || withDescText) {
            out += ' ';
            AppendQuoted(out, t_ == kDescTable ? StoredDescView(record) : RecordName(record),
                         QuoteStyle::Message);
        }
    }

    void CompareRecords(std::size_t i, std::size_t j) {
        const std::uint8_t* ra = a_.Record(i, size_);
        const std::uint8_t* rb = b_.Record(j, size_);
        if (std::memcmp(ra, rb, size_) == 0) return;
        std::string& out = text_;
        out += EntryName(t_);
        out += " changed: ";
        Describe(ra, i, false);
        if (i != j) {
            out += " (record ";
            AppendDecimal(out, j);
            out += " in the second archive)";
        }
        out += '\n';
        if (t_ == kDescTable)
            AppendTextChange(out, "Description", StoredDescView(ra), StoredDescView(rb),
                             std::memcmp(ra + kDescTextOffset, rb + kDescTextOffset, kDescTextSize) != 0);
        else
            AppendTextChange(out, "Name", RecordName(ra), RecordName(rb),
                             std::memcmp(ra + kNameOffset, rb + kNameOffset, kNameSize) != 0);
        for (const FieldDef& field : TableFields(t_)) {
            const std::uint32_t va = GetField(ra, field), vb = GetField(rb, field);
            if (va != vb) AppendFieldChange(out, field.name, va, vb);
        }
        AppendUnnamedRanges(ra, rb);
    }

    // Runs of differing bytes that no field names; equal bytes end a run.
    void AppendUnnamedRanges(const std::uint8_t* ra, const std::uint8_t* rb) {
        for (const auto& [from, to] : unnamed_)
            ForEachDifferingRun(ra, rb, from, to, [&](std::size_t o, std::size_t end) {
                AppendByteRange(text_, ra, rb, o, end);
            });
    }

    const TableSlot& a_;
    const TableSlot& b_;
    TableIndex t_;
    std::size_t size_;
    std::vector<std::pair<std::size_t, std::size_t>> unnamed_;
    BlockWriter& out_;
    std::string text_;
};

} // namespace

void DiffTable(const TableStore& a, const TableStore& b, TableIndex t, BlockWriter& out) {
    TableDiff(a, b, t, out).Run(a, b);
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
