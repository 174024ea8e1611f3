#include "tools/cli/Json.h"

#include <cstdio>

namespace ledgrin::cli {

namespace {

struct JsonError {
    int line;
    std::string message;
};

// A recursive-descent reader for the one shape the importer accepts.
class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    InputRows ReadAll() {
        InputRows result;
        try {
            ReadArray(result.rows);
            SkipSpace();
            if (pos_ < text_.size()) Fail("text after the closing ]");
        } catch (const JsonError& e) {
            result.rows.clear();
            result.errors.push_back({e.line, e.message});
        }
        return result;
    }

  private:
    [[noreturn]] void Fail(const std::string& message) { throw JsonError{line_, message}; }

    void SkipSpace() {
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == '\n')
                ++line_;
            else if (c != ' ' && c != '\t' && c != '\r')
                return;
            ++pos_;
        }
    }

    char Peek() {
        SkipSpace();
        if (pos_ >= text_.size()) Fail("unexpected end of the file");
        return text_[pos_];
    }

    void Expect(char c) {
        if (Peek() != c) Fail(std::string("expected '") + c + "'");
        ++pos_;
    }

    // Calls item() for each element of a [ ... ] or { ... } list.
    template <typename Item> void ReadList(char open, char close, Item item) {
        Expect(open);
        if (Peek() == close) {
            ++pos_;
            return;
        }
        for (;;) {
            item();
            char c = Peek();
            ++pos_;
            if (c == close) return;
            if (c != ',') Fail(std::string("expected ',' or '") + close + "'");
        }
    }

    void ReadArray(std::vector<InputRow>& rows) {
        ReadList('[', ']', [&] {
            Peek();
            InputRow row;
            row.line = line_;
            ReadList('{', '}', [&] { row.cells.push_back(ReadMember()); });
            rows.push_back(std::move(row));
        });
    }

    InputCell ReadMember() {
        InputCell cell;
        if (Peek() != '"') Fail("expected a member name in double quotes");
        cell.line = line_;
        cell.column = ReadString();
        Expect(':');
        const char c = Peek();
        cell.line = line_;
        if (c == '"')
            cell.text = ReadString();
        else if (c == '-' || (c >= '0' && c <= '9'))
            cell.text = ReadNumber();
        else
            Fail("the value of \"" + cell.column + "\" is neither a string nor a number");
        return cell;
    }

    std::string ReadNumber() {
        std::size_t start = pos_;
        while (pos_ < text_.size() &&
               std::string_view("0123456789+-.eE").find(text_[pos_]) != std::string_view::npos)
            ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }

    std::uint32_t ReadHex4() {
        if (pos_ + 4 > text_.size()) Fail("a \\u escape needs four hex digits");
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            char c = text_[pos_++];
            int d = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
            if (d < 0) Fail("a \\u escape needs four hex digits");
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        return v;
    }

    char ReadEscape() {
        if (pos_ >= text_.size()) Fail("unexpected end of the file");
        char c = text_[pos_++];
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
        default: Fail(std::string("unknown escape \\") + c);
        }
        std::uint32_t code = ReadHex4();
        // Texts are bytes of the game's code page, not Unicode: \u00XX is the byte XX.
        if (code > 0xFF)
            Fail("\\u escapes above \\u00FF are not bytes; write bytes from 0x80 up as \\u0080 to \\u00FF");
        return static_cast<char>(code);
    }

    std::string ReadString() {
        ++pos_; // the opening quote
        std::string out;
        for (;;) {
            if (pos_ >= text_.size()) Fail("a string has no closing quote");
            char c = text_[pos_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20)
                Fail("a control character inside a string must be escaped");
            out += c == '\\' ? ReadEscape() : c;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

} // namespace

void AppendJsonString(std::string& out, std::string_view bytes) {
    out += '"';
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20 || byte >= 0x80) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04X", byte);
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

InputRows ReadJson(std::string_view text) {
    return JsonReader(text).ReadAll();
}

} // namespace ledgrin::cli
