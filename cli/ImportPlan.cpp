#include "cli/ImportPlan.h"

#include "cli/CliText.h"
#include "cli/TableColumns.h"
#include "records/ByteAccess.h"
#include "records/ExactUpdate.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"

#include <algorithm>
#include <cstring>
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

// A line for the name and for each field that differs between two versions of a record.
void AppendChangedFields(std::string& out, TableIndex t, const std::uint8_t* before,
                         const std::uint8_t* after) {
    std::string_view oldName = RecordName(before), newName = RecordName(after);
    if (oldName != newName) {
        out += "  Name: ";
        AppendQuoted(out, oldName, QuoteStyle::Message);
        out += " -> ";
        AppendQuoted(out, newName, QuoteStyle::Message);
        out += '\n';
    }
    for (const FieldDef& field : TableFields(t)) {
        const std::uint32_t a = GetField(before, field), b = GetField(after, field);
        if (a != b) AppendFieldChange(out, field.name, a, b);
    }
}

} // namespace

class ImportPlanner {
  public:
    ImportPlanner(const TableStore& store, TableIndex t, const std::vector<InputCell>& header)
        : store_(store), t_(t), columns_(TableColumns(t)), descriptions_(store), byTypeId_(store, t),
          claimed_(store[t].RecordCount) {
        plan_.table = t;
        // A row per record at most: the rows are never moved as the plan grows, and room
        // not used is never touched.
        plan_.rows.reserve(store[t].RecordCount);
        ResolveColumns(InputRow{{}, header});
    }

    void PlanRow(const InputRow& row) {
        const std::size_t problemsBefore = plan_.problems.size();
        const std::size_t editsBefore = plan_.edits.size(), bytesBefore = plan_.editBytes.size();
        const Cells& cells = ResolveColumns(row);
        std::optional<std::size_t> index = MatchRecord(row, cells);
        if (!index) return;
        const std::uint8_t* stored = store_.Record(t_, *index);
        RowPlan plan;
        plan.at = row.at;
        plan.index = *index;
        plan.typeId = RecordTypeId(stored);
        PlanRecord(cells, stored, plan);
        if (const InputCell* desc = CellOf(cells, ColumnKind::Description)) PlanDescription(*desc, plan);
        if (plan_.problems.size() == problemsBefore && (plan.edits > 0 || plan.desc != DescAction::None)) {
            plan_.rows.push_back(std::move(plan));
            return;
        }
        plan_.edits.resize(editsBefore);
        plan_.editBytes.resize(bytesBefore);
    }

    ImportPlan Finish() {
        CheckDescRoom();
        std::stable_sort(plan_.problems.begin(), plan_.problems.end(),
                         [](const Problem& a, const Problem& b) { return a.at.number < b.at.number; });
        if (!plan_.problems.empty()) {
            plan_.rows.clear();
            plan_.edits.clear();
            plan_.editBytes.clear();
        }
        return std::move(plan_);
    }

  private:
    using Cells = std::vector<std::pair<const InputCell*, const Column*>>;

    void Error(const Position& at, std::string message) {
        plan_.problems.push_back({at, std::move(message)});
    }

    // Pairs each cell with its column. Unknown and repeated columns are reported once per
    // name and left out, so the row's other cells are still checked. The rows of a file
    // name the same columns in the same order: the last row's pairing is used again.
    const Cells& ResolveColumns(const InputRow& row) {
        bool same = row.cells.size() == resolvedNames_.size();
        for (std::size_t i = 0; same && i < row.cells.size(); ++i)
            same = row.cells[i].column == resolvedNames_[i];
        if (!same) {
            resolvedNames_.clear();
            resolved_.clear();
            for (const InputCell& cell : row.cells) {
                resolvedNames_.push_back(cell.column);
                const Column* column = FindColumn(columns_, cell.column);
                const bool repeated =
                    column && std::find(resolved_.begin(), resolved_.end(), column) != resolved_.end();
                if (!column) {
                    if (reported_.insert("unknown " + cell.column).second)
                        Error(cell.at, "unknown column " + QuotedText(cell.column) + " for " + EntryName(t_));
                } else if (repeated) {
                    if (reported_.insert(std::string("repeated ") + column->name).second)
                        Error(cell.at, std::string("column ") + column->name + " is given twice");
                }
                resolved_.push_back(column && !repeated ? column : nullptr);
            }
        }
        cells_.clear();
        for (std::size_t i = 0; i < row.cells.size(); ++i)
            if (resolved_[i]) cells_.push_back({&row.cells[i], resolved_[i]});
        return cells_;
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
        std::optional<Position>& claim = claimed_[*index];
        if (claim) {
            Error(typeIdCell->at, "TypeID " + Decimal(*typeId) + " (record " + std::to_string(*index) +
                                      ") is given again; first on " + PositionText(*claim));
            return std::nullopt;
        }
        claim = row.at;
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

    // The record's new bytes when the row changes any of its values. A cell in error is
    // left out and the others are still checked, so one run reports every problem.
    void PlanRecord(const Cells& cells, const std::uint8_t* stored, RowPlan& plan) {
        const std::size_t size = RecordSize(t_);
        candidate_.assign(stored, stored + size);
        changed_.clear();
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
            SetField(candidate_.data(), *column->field, *v);
            changed_.push_back({column->field, *v});
        }
        std::vector<std::uint8_t> updated;
        const std::uint8_t* result = stored;
        if (!changed_.empty() || newName) {
            updated = ExactUpdate(t_, stored, candidate_.data(), newName ? &newName->text : nullptr);
            result = updated.data();
            for (const auto& [field, v] : changed_)
                CheckStored(*field, v, GetField(result, *field), cells);
        }
        CheckDecoded(cells, stored, result);
        if (result != stored) AddEdits(stored, result, size, plan);
    }

    // The runs of bytes that differ, into the plan's edits.
    void AddEdits(const std::uint8_t* stored, const std::uint8_t* result, std::size_t size, RowPlan& plan) {
        plan.firstEdit = plan_.edits.size();
        ForEachDifferingRun(stored, result, 0, size, [&](std::size_t o, std::size_t end) {
            plan_.edits.push_back({static_cast<std::uint16_t>(o), static_cast<std::uint16_t>(end - o),
                                   static_cast<std::uint32_t>(plan_.editBytes.size())});
            plan_.editBytes.insert(plan_.editBytes.end(), result + o, result + end);
        });
        plan.edits = plan_.edits.size() - plan.firstEdit;
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
            if (!Shows(*column, before, cell->text) && !Shows(*column, after, cell->text))
                Error(cell->at, std::string(column->name) + " is read-only (decoded from the record): " +
                                    QuotedText(DecodedText(*column, before)) + ", the file " +
                                    QuotedText(cell->text));
        }
    }

    // Whether a decoded column of the record reads `text` (DecodedText, without a string).
    bool Shows(const Column& column, const std::uint8_t* record, const std::string& text) {
        if (column.kind == ColumnKind::Label) {
            const char* label = FieldLabel(record, *column.field);
            return text == (label ? label : "");
        }
        decoded_.clear();
        AppendDecimal(decoded_, FieldCode(record, *column.field));
        return text == decoded_;
    }

    void PlanDescription(const InputCell& cell, RowPlan& plan) {
        const std::size_t found = descriptions_.Find(plan.typeId);
        const std::string_view stored =
            found == kNoDescription ? std::string_view() : StoredDescView(store_.Record(kDescTable, found));
        if (cell.text == stored) return; // as exported: no NUL, and it fits
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
        if (text == stored) return;
        plan.desc = found == kNoDescription ? DescAction::Append : DescAction::Rewrite;
        plan.descIndex = found;
        plan.oldText = std::string(stored);
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
    std::vector<std::optional<Position>> claimed_; // for each record, the row that names it
    std::set<std::string> reported_;               // column problems already reported
    std::vector<Position> appends_;                // the descriptions to append
    // Kept from row to row, so that a row allocates nothing of its own.
    std::vector<std::string> resolvedNames_; // the columns ResolveColumns last paired...
    std::vector<const Column*> resolved_;    // ...with theirs (nullptr: left out)
    Cells cells_;
    std::vector<std::uint8_t> candidate_;
    std::vector<std::pair<const FieldDef*, std::uint32_t>> changed_;
    std::string decoded_;
};

std::size_t ImportPlan::RecordCount() const {
    std::size_t n = 0;
    for (const RowPlan& row : rows)
        n += row.edits > 0 ? 1 : 0;
    return n;
}

std::size_t ImportPlan::DescCount(DescAction action) const {
    std::size_t n = 0;
    for (const RowPlan& row : rows)
        n += row.desc == action ? 1 : 0;
    return n;
}

void ImportPlan::Edit(const RowPlan& row, std::uint8_t* record) const {
    for (std::size_t e = row.firstEdit; e < row.firstEdit + row.edits; ++e)
        std::memcpy(record + edits[e].offset, editBytes.data() + edits[e].data, edits[e].length);
}

RowPlanner::RowPlanner(const TableStore& store, TableIndex t, const std::vector<InputCell>& header) {
    if (IsItemTable(t))
        planner_ = std::make_unique<ImportPlanner>(store, t, header);
    else
        refused_.problems.push_back({{}, "only the item tables can be imported"});
}

RowPlanner::~RowPlanner() = default;

void RowPlanner::Add(const InputRow& row) {
    if (planner_) planner_->PlanRow(row);
}

ImportPlan RowPlanner::Finish() {
    return planner_ ? planner_->Finish() : std::move(refused_);
}

ImportPlan PlanImport(const TableStore& store, TableIndex t, const std::vector<InputRow>& rows,
                      const std::vector<InputCell>& header) {
    RowPlanner planner(store, t, header);
    for (const InputRow& row : rows)
        planner.Add(row);
    return planner.Finish();
}

void ApplyImport(TableStore& store, const ImportPlan& plan) {
    std::optional<DescIndex> descriptions; // made for the first description appended
    for (const RowPlan& row : plan.rows) {
        plan.Edit(row, store.Record(plan.table, row.index));
        if (row.desc == DescAction::Rewrite)
            WriteDescText(store.Record(kDescTable, row.descIndex), row.newText);
        if (row.desc != DescAction::Append) continue;
        if (!descriptions) descriptions.emplace(store);
        AppendPlannedDescription(store, *descriptions, row.typeId, row.newText);
    }
}

void AppendPlanDetails(std::string& out, const TableStore& store, const ImportPlan& plan) {
    std::vector<std::uint8_t> after(RecordSize(plan.table));
    for (const RowPlan& row : plan.rows) {
        const std::uint8_t* stored = store.Record(plan.table, row.index);
        out += RecordHeading(plan.table, row.index, row.typeId, RecordName(stored));
        if (row.at.kind == Position::Kind::Line) out += " (" + PositionText(row.at) + ")";
        out += ":\n";
        if (row.edits > 0) {
            std::memcpy(after.data(), stored, after.size());
            plan.Edit(row, after.data());
            AppendChangedFields(out, plan.table, stored, after.data());
        }
        if (row.desc == DescAction::Rewrite)
            out += "  Description (Desc.iff record " + std::to_string(row.descIndex) +
                   "): " + QuotedText(row.oldText) + " -> " + QuotedText(row.newText) + "\n";
        if (row.desc == DescAction::Append)
            out += "  Description (new Desc.iff record): " + QuotedText(row.newText) + "\n";
    }
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
