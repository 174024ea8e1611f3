#include "cli/BatchEdit.h"

#include "cli/CliText.h"
#include "records/NameSearch.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"

#include <cctype>

namespace ledgrin::cli {

namespace {

constexpr std::size_t kMaxFactorDigits = 9; // with a 32-bit value the product fits 64 bits

// Splits "Price<=5" into the column, the operator among `ops` (longest first) and the value.
bool Split(std::string_view text, std::initializer_list<std::string_view> ops, std::string_view& column,
           std::string_view& op, std::string_view& value) {
    std::size_t end = 0;
    while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_'))
        ++end;
    column = text.substr(0, end);
    for (std::string_view candidate : ops) {
        if (text.substr(end, candidate.size()) != candidate) continue;
        op = candidate;
        value = text.substr(end + candidate.size());
        return !column.empty();
    }
    return false;
}

std::uint32_t NumericValue(const TableStore& store, TableIndex t, std::size_t index, const Column& column) {
    const std::uint8_t* record = store.Record(t, index);
    if (column.kind == ColumnKind::Field) return GetField(record, *column.field);
    if (column.kind == ColumnKind::Index) return static_cast<std::uint32_t>(index);
    std::uint32_t value = 0;
    ParseUnsigned(DecodedText(column, record), value);
    return value;
}

bool Holds(const TableStore& store, TableIndex t, std::size_t index, const Condition& c) {
    if (c.op == CompareOp::NameContains)
        return FindTextNoCase(RecordName(store.Record(t, index)), c.text).has_value();
    const std::uint32_t v = NumericValue(store, t, index, *c.column);
    switch (c.op) {
    case CompareOp::Equal: return v == c.value;
    case CompareOp::NotEqual: return v != c.value;
    case CompareOp::Less: return v < c.value;
    case CompareOp::LessOrEqual: return v <= c.value;
    case CompareOp::Greater: return v > c.value;
    case CompareOp::GreaterOrEqual: return v >= c.value;
    case CompareOp::NameContains: break;
    }
    return false;
}

// F as digits and a power of ten: "1.25" is 125 / 100.
bool ParseFactor(std::string_view text, std::uint64_t& amount, std::uint64_t& scale) {
    amount = 0;
    scale = 1;
    std::size_t digits = 0, point = text.find('.');
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == point) continue;
        if (!std::isdigit(static_cast<unsigned char>(text[i])) || ++digits > kMaxFactorDigits) return false;
        amount = amount * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (point != std::string_view::npos && i > point) scale *= 10;
    }
    return digits > 0;
}

const char* Symbol(AssignOp op) {
    return op == AssignOp::Add ? " + " : op == AssignOp::Subtract ? " - " : " * ";
}

} // namespace

std::string ParseCondition(const std::vector<Column>& columns, std::string_view text, Condition& out) {
    std::string_view name, op, value;
    if (!Split(text, {"!=", "<=", ">=", "=", "<", ">", "~"}, name, op, value))
        return "expected name~TEXT or FIELD=V, FIELD!=V, FIELD<V, FIELD<=V, FIELD>V, FIELD>=V";
    out.column = FindColumn(columns, name);
    if (!out.column) return "unknown column " + QuotedText(name);
    if (op == "~") {
        if (out.column->kind != ColumnKind::Name) return "~ searches the Name only";
        out.op = CompareOp::NameContains;
        out.text = std::string(value);
        return "";
    }
    if (!out.column->numeric) return std::string(out.column->name) + " is not a numeric column";
    if (ParseUnsigned(value, out.value) != NumberParse::Ok)
        return QuotedText(value) + " is not an unsigned number up to 4294967295";
    const std::pair<std::string_view, CompareOp> ops[] = {
        {"=", CompareOp::Equal},        {"!=", CompareOp::NotEqual}, {"<", CompareOp::Less},
        {"<=", CompareOp::LessOrEqual}, {">", CompareOp::Greater},   {">=", CompareOp::GreaterOrEqual}};
    for (const auto& [symbol, compare] : ops)
        if (op == symbol) out.op = compare;
    return "";
}

std::string ParseAssignment(const std::vector<Column>& columns, std::string_view text, Assignment& out) {
    std::string_view name, op, value;
    if (!Split(text, {"+=", "-=", "*=", "="}, name, op, value))
        return "expected FIELD=V, FIELD+=N, FIELD-=N or FIELD*=F";
    out.text = std::string(value);
    out.column = FindColumn(columns, name);
    if (!out.column) return "unknown column " + QuotedText(name);
    const ColumnKind kind = out.column->kind;
    if (kind == ColumnKind::Index || kind == ColumnKind::Code || kind == ColumnKind::Label ||
        (kind == ColumnKind::Field && out.column->field->access == FieldAccess::ReadOnly))
        return std::string(out.column->name) + " is read-only";
    if (op == "=") {
        out.op = AssignOp::Set;
        return "";
    }
    if (kind != ColumnKind::Field) return std::string(op) + " takes a numeric field, not " + out.column->name;
    if (op == "*=") {
        out.op = AssignOp::Multiply;
        if (!ParseFactor(value, out.amount, out.scale))
            return QuotedText(value) + " is not a decimal number of at most 9 digits";
        return "";
    }
    out.op = op == "+=" ? AssignOp::Add : AssignOp::Subtract;
    std::uint32_t n = 0;
    if (ParseUnsigned(value, n) != NumberParse::Ok)
        return QuotedText(value) + " is not an unsigned number up to 4294967295";
    out.amount = n;
    return "";
}

BatchRows PlanBatch(const TableStore& store, TableIndex t, const std::vector<Condition>& conditions,
                    const std::vector<Assignment>& assignments,
                    const std::function<void(const InputRow&)>& row) {
    BatchRows batch;
    InputRow made;
    // The cell's strings keep their room from row to row.
    const auto cell = [&](std::size_t n, const std::string& column, const Position& at) -> std::string& {
        if (made.cells.size() <= n) made.cells.emplace_back();
        made.cells[n].column = column;
        made.cells[n].at = at;
        made.cells[n].text.clear();
        return made.cells[n].text;
    };
    static const std::string kTypeId = "TypeID", kIndex = "Index";
    for (std::size_t i = 0; i < store[t].RecordCount; ++i) {
        bool all = true;
        for (const Condition& c : conditions)
            all = all && Holds(store, t, i, c);
        if (!all) continue;
        ++batch.matched;
        const Position at = Position::Record(i);
        made.at = at;
        AppendDecimal(cell(0, kTypeId, at), RecordTypeId(store.Record(t, i)));
        AppendDecimal(cell(1, kIndex, at), i);
        std::size_t cells = 2;
        for (const Assignment& a : assignments) {
            if (a.op == AssignOp::Set) {
                cell(cells++, a.column->name, at) = a.text;
                continue;
            }
            const std::uint64_t v = GetField(store.Record(t, i), *a.column->field);
            const std::uint64_t result = a.op == AssignOp::Add ? v + a.amount
                                         : a.op == AssignOp::Subtract
                                             ? v - a.amount
                                             : (v * a.amount + a.scale / 2) / a.scale;
            const auto what = [&] {
                return std::string(a.column->name) + ": " + std::to_string(v) + Symbol(a.op) + a.text;
            };
            if (a.op == AssignOp::Subtract && a.amount > v) {
                batch.problems.push_back({at, what() + " is below 0"});
                continue;
            }
            const std::size_t width = a.column->field->width;
            if (result > 0xFFFFFFFFu || !FitsWidth(static_cast<std::uint32_t>(result), width)) {
                batch.problems.push_back({at, what() + " = " + std::to_string(result) + " does not fit its " +
                                                  std::to_string(8 * width) + "-bit field"});
                continue;
            }
            AppendDecimal(cell(cells++, a.column->name, at), result);
        }
        made.cells.resize(cells);
        row(made);
    }
    return batch;
}

} // namespace ledgrin::cli
