// Small text rules shared by the commands: numbers as a user types them, table and
// column names compared the way the archive compares entry names, and bytes shown
// safely in a message.
#pragma once

#include "records/TableInfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ledgrin::cli {

enum class NumberParse {
    Ok = 0,
    NotANumber = 1, // empty, a sign, a fraction, or any other character
    TooLarge = 2,   // digits only, but above 4,294,967,295
};

// An unsigned number: decimal digits, or hex digits after "0x"; spaces around it are
// allowed (spreadsheets add them). Unlike the editor's boxes, bad text is an error, not 0.
NumberParse ParseUnsigned(std::string_view text, std::uint32_t& value);

// Whether value fits an unsigned field of `width` bytes (1, 2 or 4).
bool FitsWidth(std::uint32_t value, std::size_t width);

// The table named by its entry name ("Part.iff") or bare name ("Part"), A to Z folded.
std::optional<TableIndex> FindTableByName(std::string_view name);

// Two names equal apart from the case of A to Z.
bool NamesEqualNoCase(std::string_view a, std::string_view b);

// text in double quotes, with quotes, backslashes and control bytes escaped (\n, \r,
// \t, \xNN); bytes from 0x80 up are kept as they are.
std::string QuotedText(std::string_view text);

// Appends bytes in double quotes, with quotes, backslashes, \n, \r and \t escaped, and
// for a message the other control bytes as \xNN (bytes from 0x80 up kept); for JSON the
// other control bytes and every byte from 0x80 up as \u00XX, so the file stays ASCII.
enum class QuoteStyle { Message, Json };
void AppendQuoted(std::string& out, std::string_view bytes, QuoteStyle style);
// AppendQuoted writing at p, which has room for QuotedSizeLimit(bytes.size()); returns the end.
char* WriteQuoted(char* p, std::string_view bytes, QuoteStyle style);
constexpr std::size_t QuotedSizeLimit(std::size_t bytes) {
    return 2 + 6 * bytes;
}

// text without its carriage returns, as the Update stores descriptions.
std::string WithoutCarriageReturns(std::string_view text);

// "1 record", "2 records".
std::string Plural(std::size_t n, const char* one, const char* many);

// How messages name an item record: Part.iff record 3, TypeID 134217728 "Ember Flat Cap".
std::string RecordHeading(TableIndex t, std::size_t index, std::uint32_t typeId, std::string_view name);

// "%u" / "0x%0*X": the number forms used in reports.
std::string Decimal(std::uint32_t value);
// Decimal's text appended to out, without a string of its own: exports and reports
// write one per field of every record. WriteDecimal writes it at p, which has room for
// kDecimalSizeLimit bytes, and returns the end.
void AppendDecimal(std::string& out, std::uint64_t value);
// "  NAME: BEFORE -> AFTER\n": a changed field as diff and the dry runs list it.
void AppendFieldChange(std::string& out, const char* name, std::uint32_t before, std::uint32_t after);
constexpr std::size_t kDecimalSizeLimit = 20;
char* WriteDecimal(char* p, std::uint64_t value);
std::string Hex(std::uint32_t value, int digits);

} // namespace ledgrin::cli
