#include "cli/ImportPlan.h"

#include "cli/CliText.h"
#include "cli/TableColumns.h"
#include "records/ExactUpdate.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

namespace ledgrin::cli {

namespace {

// What the Update's rules allow for a field, for the message when a value cannot be stored.
struct FieldRule {
    const char* namePrefix;
    const char* rule;
};
constexpr FieldRule kFieldRules[] = {
    {"Level", "bits 0 to 6 hold a rank index from 0 to 16, bit 7 marks a maximum"},
    {"ShopFlags", "bits 2 to 4 are kept as they are"},
    {"MarkFlags", "bits 2 to 7 are kept as they are"},
    {"MascotFlags", "only bit 0, the extra item, can change"},
    {"BonusRates", "each percentage byte, bits 0 to 7 and 16 to 23, is kept when above 100 and is 0 "
                   "otherwise; bits 8 to 15 and 24 to 31 are 0"},
    {"PriceCopy", "it follows Price, keeping its low 16 bits"},
    {"MonthlyPrice", "it is 0 or the Price"},
    {"StatCopy", "it follows the low bytes of the stats"},
    {"EffectTime", "it changes only while it is non-zero and never becomes 0"},
};

std::string RuleOf(const FieldDef& field) {
    for (const FieldRule& r : kFieldRules)
        if (std::strncmp(field.name, r.namePrefix, std::strlen(r.namePrefix)) == 0)
            return std::string("; ") + r.rule;
    return "";
}

// The fields, the name and its bytes that differ between two versions of a record.
std::vector<std::string> ChangedFields(TableIndex t, const std::uint8_t* before, const std::uint8_t* after) {
    std::vector<std::string> changes;
    std::string_view oldName = RecordName(before), newName = RecordName(after);
    if (oldName != newName) changes.push_back("Name: " + QuotedText(oldName) + " -> " + QuotedText(newName));
    for (const FieldDef& field : TableFields(t)) {
        std::uint32_t a = GetField(before, field), b = GetField(after, field);
        if (a != b) changes.push_back(std::string(field.name) + ": " + Decimal(a) + " -> " + Decimal(b));
    }
    return changes;
}

class ImportPlanner {
  public:
    ImportPlanner(const TableStore& store, TableIndex t)
        : store_(store), t_(t), columns_(TableColumns(t)), descriptions_(store), byTypeId_(store, t) {
        plan_.table = t;
    }

    ImportPlan Plan(const std::vector<InputRow>& rows, const std::vector<InputCell>& header) {
        ResolveColumns(InputRow{{}, header});
        for (const InputRow& row : rows)
            PlanRow(row);
        CheckDescRoom();
        std::stable_sort(plan_.problems.begin(), plan_.problems.end(),
                         [](const Problem& a, const Problem& b) { return a.at.number < b.at.number; });
        if (!plan_.problems.empty()) plan_.rows.clear();
        return std::move(plan_);
    }

  private:
    using Cells = std::vector<std::pair<const InputCell*, const Column*>>;

    void Error(const Position& at, std::string message) {
        plan_.problems.push_back({at, std::move(message)});
    }

    // Pairs each cell with its column. Unknown and repeated columns are reported once per
    // name and left out, so the row's other cells are still checked.
    Cells ResolveColumns(const InputRow& row) {
        Cells cells;
        std::set<std::string> seen;
        for (const InputCell& cell : row.cells) {
            const Column* column = FindColumn(columns_, cell.column);
            if (!column) {
                if (reported_.insert("unknown " + cell.column).second)
                    Error(cell.at, "unknown column " + QuotedText(cell.column) + " for " + EntryName(t_));
            } else if (!seen.insert(column->name).second) {
                if (reported_.insert(std::string("repeated ") + column->name).second)
                    Error(cell.at, std::string("column ") + column->name + " is given twice");
            } else {
                cells.push_back({&cell, column});
            }
        }
        return cells;
    }

    const InputCell* CellOf(const Cells& cells, ColumnKind kind, const char* name = nullptr) {
        for (const auto& [cell, column] : cells)
            if (column->kind == kind && (!name || column->name == name)) return cell;
        return nullptr;
    }

    std::optional<std::uint32_t> Number(const InputCell& cell, const char* column, std::size_t width) {
        std::uint32_t value = 0;
        NumberParse parsed = ParseUnsigned(cell.text, value);
        if (parsed == NumberParse::NotANumber) {
            Error(cell.at, std::string(column) + ": " + QuotedText(cell.text) + " is not an unsigned number");
            return std::nullopt;
        }
        if (parsed == NumberParse::TooLarge || !FitsWidth(value, width)) {
            Error(cell.at, std::string(column) + ": " + std::string(cell.text) + " does not fit its " +
                               std::to_string(8 * width) + "-bit field (at most " +
                               Decimal(width >= 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1) + ")");
            return std::nullopt;
        }
        return value;
    }

    // The record a row names: its TypeID, and its Index when records share the TypeID.
    std::optional<std::size_t> MatchRecord(const InputRow& row, const Cells& cells) {
        const InputCell* typeIdCell = CellOf(cells, ColumnKind::Field, "TypeID");
        if (!typeIdCell) {
            Error(row.at, "the row has no TypeID");
            return std::nullopt;
        }
        std::optional<std::uint32_t> typeId = Number(*typeIdCell, "TypeID", 4);
        if (!typeId) return std::nullopt;
        const RecordList found = byTypeId_.Find(*typeId);
        if (found.empty()) {
            Error(typeIdCell->at, "TypeID " + Decimal(*typeId) + " is held by no record of " + EntryName(t_));
            return std::nullopt;
        }
        std::optional<std::size_t> index = PickRecord(found, cells, *typeId, *typeIdCell);
        if (!index) return std::nullopt;
        auto [claim, fresh] = claimed_.emplace(*index, row.at);
        if (!fresh) {
            Error(typeIdCell->at, "TypeID " + Decimal(*typeId) + " (record " + std::to_string(*index) +
                                      ") is given again; first on " + PositionText(claim->second));
            return std::nullopt;
        }
        return index;
    }

    // Index only tells apart records that share a TypeID; it must still be a number.
    std::optional<std::size_t> PickRecord(const RecordList& records, const Cells& cells, std::uint32_t typeId,
                                          const InputCell& typeIdCell) {
        const InputCell* indexCell = CellOf(cells, ColumnKind::Index);
        std::optional<std::uint32_t> index = indexCell ? Number(*indexCell, "Index", 4) : std::nullopt;
        if (indexCell && !index) return std::nullopt;
        if (records.size() == 1) return records[0];
        std::string list;
        for (std::size_t r : records) {
            if (index && r == *index) return r;
            list += (list.empty() ? "" : ", ") + std::to_string(r);
        }
        Error(indexCell ? indexCell->at : typeIdCell.at, "TypeID " + Decimal(typeId) +
                                                             " is held by records " + list +
                                                             "; the Index column must name one");
        return std::nullopt;
    }

    void PlanRow(const InputRow& row) {
        const std::size_t problemsBefore = plan_.problems.size();
        const Cells cells = ResolveColumns(row);
        std::optional<std::size_t> index = MatchRecord(row, cells);
        if (!index) return;
        const std::uint8_t* stored = store_.Record(t_, *index);
        RowPlan plan;
        plan.at = row.at;
        plan.index = *index;
        plan.typeId = RecordTypeId(stored);
        plan.name = std::string(RecordName(stored));
        PlanRecord(cells, stored, plan);
        if (const InputCell* desc = CellOf(cells, ColumnKind::Description)) PlanDescription(*desc, plan);
        if (plan_.problems.size() == problemsBefore && (!plan.bytes.empty() || plan.desc != DescAction::None))
            plan_.rows.push_back(std::move(plan));
    }

    // The record's new bytes when the row changes any of its values. A cell in error is
    // left out and the others are still checked, so one run reports every problem.
    void PlanRecord(const Cells& cells, const std::uint8_t* stored, RowPlan& plan) {
        const std::size_t size = RecordSize(t_);
        std::vector<std::uint8_t> candidate(stored, stored + size);
        std::vector<std::pair<const FieldDef*, std::uint32_t>> changed;
        const InputCell* newName = nullptr;
        for (const auto& [cell, column] : cells) {
            if (column->kind == ColumnKind::Name) CheckName(*cell, stored, newName);
            if (column->kind != ColumnKind::Field) continue;
            std::optional<std::uint32_t> v = Number(*cell, column->name.c_str(), column->field->width);
            if (!v || *v == GetField(stored, *column->field)) continue;
            if (column->field->access == FieldAccess::ReadOnly) {
                Error(cell->at, std::string(column->name) + " is read-only: the archive holds " +
                                    Decimal(GetField(stored, *column->field)) + ", the file " + Decimal(*v));
                continue;
            }
            // The row's raw values go into a copy, from which the Update takes them exactly
            // as the record display would show them.
            SetField(candidate.data(), *column->field, *v);
            changed.push_back({column->field, *v});
        }
        std::vector<std::uint8_t> result(stored, stored + size);
        if (!changed.empty() || newName) {
            result = ExactUpdate(t_, stored, candidate.data(), newName ? &newName->text : nullptr);
            for (const auto& [field, v] : changed)
                CheckStored(*field, v, GetField(result.data(), *field), cells);
        }
        CheckDecoded(cells, stored, result.data());
        if (std::memcmp(result.data(), stored, size) == 0) return;
        plan.changes = ChangedFields(t_, stored, result.data());
        plan.bytes = std::move(result);
    }

    void CheckName(const InputCell& cell, const std::uint8_t* stored, const InputCell*& newName) {
        if (cell.text.find('\0') != std::string::npos) {
            Error(cell.at, "Name contains a NUL byte");
        } else if (cell.text.size() > kNameSize - 1 && cell.text != RecordName(stored)) {
            Error(cell.at, "Name: " + std::to_string(cell.text.size()) + " bytes do not fit; at most " +
                               std::to_string(kNameSize - 1) + " are stored");
        } else if (cell.text != RecordName(stored)) {
            newName = &cell;
        }
    }

    void CheckStored(const FieldDef& field, std::uint32_t wanted, std::uint32_t stored, const Cells& cells) {
        if (wanted == stored) return;
        for (const auto& [cell, column] : cells)
            if (column->field == &field)
                Error(cell->at, std::string(field.name) + " cannot become " + Decimal(wanted) +
                                    ": the editor's rules store " + Decimal(stored) + RuleOf(field));
    }

    // Decoded columns are read-only; as exported, before or after the row's change, they pass.
    void CheckDecoded(const Cells& cells, const std::uint8_t* before, const std::uint8_t* after) {
        for (const auto& [cell, column] : cells) {
            if (column->kind != ColumnKind::Code && column->kind != ColumnKind::Label) continue;
            std::string was = DecodedText(*column, before);
            if (cell->text != was && cell->text != DecodedText(*column, after))
                Error(cell->at, std::string(column->name) + " is read-only (decoded from the record): " +
                                    QuotedText(was) + ", the file " + QuotedText(cell->text));
        }
    }

    void PlanDescription(const InputCell& cell, RowPlan& plan) {
        if (cell.text.find('\0') != std::string::npos) {
            Error(cell.at, "Description contains a NUL byte");
            return;
        }
        std::string text = WithoutCarriageReturns(cell.text);
        if (text.size() > kDescTextSize) {
            Error(cell.at, "Description: " + std::to_string(text.size()) + " bytes do not fit its " +
                               std::to_string(kDescTextSize));
            return;
        }
        const std::size_t found = descriptions_.Find(plan.typeId);
        std::string current = found == kNoDescription ? "" : StoredDescText(store_.Record(kDescTable, found));
        if (cell.text == current || text == current) return;
        plan.desc = found == kNoDescription ? DescAction::Append : DescAction::Rewrite;
        plan.descIndex = found;
        plan.oldText = std::move(current);
        plan.newText = std::move(text);
        if (plan.desc == DescAction::Append) appends_.push_back(cell.at);
    }

    void CheckDescRoom() {
        std::size_t room = kMaxRecordCount - store_[kDescTable].RecordCount;
        if (appends_.size() <= room) return;
        Error(appends_[room], std::string(EntryName(kDescTable)) +
                                  " is full: " + std::to_string(appends_.size()) +
                                  " descriptions to append, room for " + std::to_string(room));
    }

    const TableStore& store_;
    TableIndex t_;
    std::vector<Column> columns_;
    DescIndex descriptions_;
    ImportPlan plan_;
    TypeIdIndex byTypeId_;
    std::map<std::size_t, Position> claimed_; // record index -> the row that names it
    std::set<std::string> reported_;          // column problems already reported
    std::vector<Position> appends_;           // the descriptions to append
};

} // namespace

std::size_t ImportPlan::RecordCount() const {
    std::size_t n = 0;
    for (const RowPlan& row : rows)
        n += row.bytes.empty() ? 0 : 1;
    return n;
}

std::size_t ImportPlan::DescCount(DescAction action) const {
    std::size_t n = 0;
    for (const RowPlan& row : rows)
        n += row.desc == action ? 1 : 0;
    return n;
}

ImportPlan PlanImport(const TableStore& store, TableIndex t, const std::vector<InputRow>& rows,
                      const std::vector<InputCell>& header) {
    if (!IsItemTable(t)) {
        ImportPlan plan;
        plan.problems.push_back({{}, "only the item tables can be imported"});
        return plan;
    }
    return ImportPlanner(store, t).Plan(rows, header);
}

void ApplyImport(TableStore& store, const ImportPlan& plan) {
    DescIndex descriptions(store);
    for (const RowPlan& row : plan.rows) {
        if (!row.bytes.empty())
            std::memcpy(store.Record(plan.table, row.index), row.bytes.data(), row.bytes.size());
        if (row.desc == DescAction::Rewrite)
            WriteDescText(store.Record(kDescTable, row.descIndex), row.newText);
        if (row.desc == DescAction::Append)
            AppendPlannedDescription(store, descriptions, row.typeId, row.newText);
    }
}

std::string FormatPlanDetails(const ImportPlan& plan) {
    std::string out;
    for (const RowPlan& row : plan.rows) {
        out += RecordHeading(plan.table, row.index, row.typeId, row.name) +
               (row.at.kind == Position::Kind::Line ? " (" + PositionText(row.at) + ")" : "") + ":\n";
        for (const std::string& change : row.changes)
            out += "  " + change + "\n";
        if (row.desc == DescAction::Rewrite)
            out += "  Description (Desc.iff record " + std::to_string(row.descIndex) +
                   "): " + QuotedText(row.oldText) + " -> " + QuotedText(row.newText) + "\n";
        if (row.desc == DescAction::Append)
            out += "  Description (new Desc.iff record): " + QuotedText(row.newText) + "\n";
    }
    return out;
}

std::string FormatPlanSummary(const ImportPlan& plan, bool written) {
    const std::size_t records = plan.RecordCount();
    const std::size_t rewrites = plan.DescCount(DescAction::Rewrite),
                      appends = plan.DescCount(DescAction::Append);
    if (records == 0 && rewrites == 0 && appends == 0) return "No changes.\n";
    return std::string(EntryName(plan.table)) + ": " + Plural(records, "record", "records") +
           (written ? " changed" : " to change") +
           "; Desc.iff: " + Plural(rewrites, "description", "descriptions") +
           (written ? " rewritten, " : " to rewrite, ") + std::to_string(appends) +
           (written ? " appended.\n" : " to append.\n");
}

} // namespace ledgrin::cli
