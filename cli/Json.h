// JSON as the command-line tool writes and reads it (exports, imports, patches). Text
// stays byte-faithful and the file pure ASCII: each byte from 0x80 up is written as
// \u0080 to \u00FF and read back as that one byte.
//
// Files read here come from other people, so the reader is strict where a lenient one
// would let a reviewer and the tool see different things: an object that names a member
// twice, a raw control byte inside a string, a number JSON does not allow, and a \u escape
// that is not a byte are errors, each with its line and column.
#pragma once

#include "cli/InputRows.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace ledgrin::cli {

// Appends bytes as a JSON string literal, quotes included.
void AppendJsonString(std::string& out, std::string_view bytes);

// Where a reader stopped, and why; line and column count from 1 (the column in bytes).
struct JsonError {
    int line = 1;
    int column = 1;
    std::string message;
};

// A pull reader over one JSON text: the caller walks the shape it expects and the reader
// checks the syntax on the way. Every method throws JsonError at the first fault. Nesting
// deeper than kMaxDepth is refused, so neither the reader nor a caller recurses without
// bound.
class JsonReader {
  public:
    enum class Kind { String, Number, Object, Array, Literal };
    static constexpr std::size_t kMaxDepth = 64;

    explicit JsonReader(std::string_view text) : text_(text) {}

    // The kind of the next value; an error where none can start.
    Kind Peek();
    int Line(); // of the next token

    void BeginObject();
    // The next member's name, true; false (after the closing brace) when there is none.
    // A name given twice in one object is an error at its second place.
    bool NextMember(std::string& name);
    void BeginArray();
    bool NextItem(); // false after the closing bracket

    std::string ReadString();
    std::string ReadNumber();  // as written, checked against JSON's number syntax
    std::string ReadLiteral(); // "true", "false" or "null"
    void SkipValue();          // any value, checked like the rest
    void Finish();             // nothing but white space may follow

    [[noreturn]] void Fail(std::string message) const; // at the next token

  private:
    // The frames stay allocated when their containers close: a patch or an import opens an
    // object per row, and most objects have a few members, compared without a set.
    struct Frame {
        static constexpr std::size_t kListed = 8;
        bool object = false;
        bool first = true;
        std::size_t names = 0;                 // objects: the members read so far
        std::vector<std::string> listed;       // the first kListed names
        std::unordered_set<std::string> more;  // the rest
        bool AddName(const std::string& name); // false: the object has it already
    };
    Frame& Top() { return frames_[depth_ - 1]; }

    void SkipSpace();
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Next(); // the next token's first byte, space skipped; an error at the end
    void Open(bool object);
    bool Continue(char close); // after a member or item: a comma (true) or `close` (false)
    char ReadEscape();

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::size_t lineStart_ = 0;
    std::vector<Frame> frames_; // the open containers are the first depth_
    std::size_t depth_ = 0;
};

// Reads an array of objects; every member becomes a cell of its object's row (a number
// keeps its text, so the importer decides whether it fits). Nested values, true, false,
// null and any syntax error are errors of their line; reading stops at the first.
InputRows ReadJson(std::string_view text);

} // namespace ledgrin::cli
