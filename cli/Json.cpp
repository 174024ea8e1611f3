#include "cli/Json.h"

#include "cli/CliText.h"

#include <algorithm>

namespace ledgrin::cli {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    return IsDigit(c)               ? c - '0'
           : (c >= 'a' && c <= 'f') ? c - 'a' + 10
           : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                    : -1;
}

std::string Quoted(std::string_view name) {
    std::string out;
    AppendJsonString(out, name);
    return out;
}

} // namespace

bool JsonReader::Frame::AddName(const std::string& name) {
    for (std::size_t i = 0; i < std::min(names, kListed); ++i)
        if (listed[i] == name) return false;
    if (names >= kListed && !more.insert(name).second) return false;
    if (names < listed.size())
        listed[names] = name; // keeps the string's room from an earlier object
    else if (names < kListed)
        listed.push_back(name);
    ++names;
    return true;
}

void JsonReader::Fail(std::string message) const {
    throw JsonError{line_, static_cast<int>(pos_ - lineStart_) + 1, std::move(message)};
}

void JsonReader::SkipSpace() {
    for (; !AtEnd(); ++pos_) {
        const char c = text_[pos_];
        if (c == '\n') {
            ++line_;
            lineStart_ = pos_ + 1;
        } else if (c != ' ' && c != '\t' && c != '\r') {
            return;
        }
    }
}

int JsonReader::Line() {
    SkipSpace();
    return line_;
}

char JsonReader::Next() {
    SkipSpace();
    if (AtEnd()) Fail("unexpected end of the file");
    return text_[pos_];
}

JsonReader::Kind JsonReader::Peek() {
    const char c = Next();
    if (c == '"') return Kind::String;
    if (c == '{') return Kind::Object;
    if (c == '[') return Kind::Array;
    if (c == '-' || IsDigit(c)) return Kind::Number;
    if (c == 't' || c == 'f' || c == 'n') return Kind::Literal;
    Fail(std::string("expected a value, found '") + c + "'");
}

void JsonReader::Open(bool object) {
    const char open = object ? '{' : '[';
    if (Next() != open) Fail(std::string("expected '") + open + "'");
    if (depth_ >= kMaxDepth) Fail("nested more than " + std::to_string(kMaxDepth) + " levels deep");
    ++pos_;
    if (depth_ == frames_.size()) frames_.emplace_back();
    Frame& frame = frames_[depth_++];
    frame.object = object;
    frame.first = true;
    frame.names = 0;
    frame.more.clear();
}

void JsonReader::BeginObject() {
    Open(true);
}

void JsonReader::BeginArray() {
    Open(false);
}

bool JsonReader::Continue(char close) {
    Frame& frame = Top();
    const char c = Next();
    if (frame.first) {
        frame.first = false;
        if (c != close) return true;
    } else if (c == ',') {
        ++pos_; // a close right after it is no value, which the caller's read reports
        return true;
    } else if (c != close) {
        Fail(std::string("expected ',' or '") + close + "'");
    }
    ++pos_;
    --depth_;
    return false;
}

bool JsonReader::NextMember(std::string& name) {
    if (depth_ == 0 || !Top().object) Fail("not inside an object");
    if (!Continue('}')) return false;
    if (Next() != '"') Fail("expected a member name in double quotes");
    const int line = line_, column = static_cast<int>(pos_ - lineStart_) + 1;
    name = ReadString();
    if (!Top().AddName(name))
        throw JsonError{line, column, "the member " + Quoted(name) + " is given twice in one object"};
    if (Next() != ':') Fail("expected ':' after the member name");
    ++pos_;
    return true;
}

bool JsonReader::NextItem() {
    if (depth_ == 0 || Top().object) Fail("not inside an array");
    return Continue(']');
}

char JsonReader::ReadEscape() {
    if (AtEnd()) Fail("unexpected end of the file");
    const char c = text_[pos_++];
    switch (c) {
    case '"':
    case '\\':
    case '/': return c;
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'u': break;
    default: --pos_; Fail(std::string("unknown escape \\") + c);
    }
    std::uint32_t code = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = AtEnd() ? -1 : HexDigit(text_[pos_]);
        if (digit < 0) Fail("a \\u escape needs four hex digits");
        code = code * 16 + static_cast<std::uint32_t>(digit);
        ++pos_;
    }
    // Texts are bytes of the game's code page, not Unicode: \u00XX is the byte XX.
    if (code > 0xFF) {
        pos_ -= 6;
        Fail("\\u escapes above \\u00FF are not bytes; write bytes from 0x80 up as \\u0080 to \\u00FF");
    }
    return static_cast<char>(code);
}

std::string JsonReader::ReadString() {
    if (Next() != '"') Fail("expected a string");
    ++pos_;
    std::string out;
    for (;;) {
        // The bytes up to the next quote, backslash or control byte in one piece.
        const std::size_t start = pos_;
        while (!AtEnd() && text_[pos_] != '"' && text_[pos_] != '\\' &&
               static_cast<unsigned char>(text_[pos_]) >= 0x20)
            ++pos_;
        out.append(text_.data() + start, pos_ - start);
        if (AtEnd()) Fail("a string has no closing quote");
        const char c = text_[pos_];
        if (c == '"') {
            ++pos_;
            return out;
        }
        if (static_cast<unsigned char>(c) < 0x20) Fail("a control byte inside a string must be escaped");
        ++pos_;
        out += ReadEscape();
    }
}

std::string JsonReader::ReadNumber() {
    Next();
    const std::size_t start = pos_;
    const auto digits = [&] {
        const std::size_t first = pos_;
        while (!AtEnd() && IsDigit(text_[pos_]))
            ++pos_;
        if (pos_ == first) Fail("a number needs a digit here");
    };
    if (text_[pos_] == '-') ++pos_;
    if (!AtEnd() && text_[pos_] == '0' && pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1]))
        Fail("a number may not start with 0");
    digits();
    if (!AtEnd() && text_[pos_] == '.') {
        ++pos_;
        digits();
    }
    if (!AtEnd() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
        ++pos_;
        if (!AtEnd() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
        digits();
    }
    return std::string(text_.substr(start, pos_ - start));
}

std::string JsonReader::ReadLiteral() {
    Next();
    for (std::string_view word : {"true", "false", "null"})
        if (text_.substr(pos_, word.size()) == word) {
            pos_ += word.size();
            return std::string(word);
        }
    Fail("expected a value");
}

void JsonReader::SkipValue() {
    // Without recursion: a container is opened here and its members walked by the loop.
    const std::size_t depth = depth_;
    std::string name;
    do {
        switch (Peek()) {
        case Kind::Object: BeginObject(); break;
        case Kind::Array: BeginArray(); break;
        case Kind::String: ReadString(); break;
        case Kind::Number: ReadNumber(); break;
        case Kind::Literal: ReadLiteral(); break;
        }
        while (depth_ > depth && !(Top().object ? NextMember(name) : NextItem())) {
        }
    } while (depth_ > depth);
}

void JsonReader::Finish() {
    SkipSpace();
    if (!AtEnd()) Fail("text after the end of the JSON value");
}

void AppendJsonString(std::string& out, std::string_view bytes) {
    AppendQuoted(out, bytes, QuoteStyle::Json);
}

InputRows ReadJson(std::string_view text) {
    InputRows result;
    JsonReader json(text);
    try {
        json.BeginArray();
        while (json.NextItem()) {
            if (json.Peek() != JsonReader::Kind::Object) json.Fail("each row must be an object");
            InputRow& row = result.rows.emplace_back();
            row.at = Position::Line(json.Line());
            json.BeginObject();
            std::string column;
            while (json.NextMember(column)) {
                InputCell& cell = row.cells.emplace_back();
                cell.column = std::move(column);
                const JsonReader::Kind kind = json.Peek();
                cell.at = Position::Line(json.Line());
                if (kind == JsonReader::Kind::String)
                    cell.text = json.ReadString();
                else if (kind == JsonReader::Kind::Number)
                    cell.text = json.ReadNumber();
                else
                    json.Fail("the value of " + Quoted(cell.column) + " is neither a string nor a number");
            }
        }
        json.Finish();
    } catch (const JsonError& e) {
        result.rows.clear();
        result.problems.push_back({Position::Line(e.line, e.column), e.message});
    }
    return result;
}

} // namespace ledgrin::cli
