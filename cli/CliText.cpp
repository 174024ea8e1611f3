#include "cli/CliText.h"

#include "archive/EntryName.h"
#include "cli/Problem.h"

#include <cstdio>
#include <cstring>

namespace ledgrin::cli {

namespace {

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

std::string_view TrimSpaces(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

NumberParse ParseUnsigned(std::string_view text, std::uint32_t& value) {
    text = TrimSpaces(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return NumberParse::NotANumber;
    std::uint64_t v = 0;
    bool tooLarge = false;
    for (char c : text) {
        int digit = DigitValue(c, base);
        if (digit < 0) return NumberParse::NotANumber;
        // Keep reading after an overflow: "99999999999x" is not a number at all.
        if (!tooLarge) v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        tooLarge = tooLarge || v > 0xFFFFFFFFu;
    }
    if (tooLarge) return NumberParse::TooLarge;
    value = static_cast<std::uint32_t>(v);
    return NumberParse::Ok;
}

bool FitsWidth(std::uint32_t value, std::size_t width) {
    return width >= 4 || value < (std::uint32_t{1} << (8 * width));
}

bool NamesEqualNoCase(std::string_view a, std::string_view b) {
    return EntryNamesEqual(a, b);
}

std::optional<TableIndex> FindTableByName(std::string_view name) {
    constexpr std::string_view kSuffix = ".iff";
    for (TableIndex t = 0; t < kTableCount; ++t) {
        std::string_view entry = EntryName(t);
        if (NamesEqualNoCase(name, entry) ||
            NamesEqualNoCase(name, entry.substr(0, entry.size() - kSuffix.size())))
            return t;
    }
    return std::nullopt;
}

char* WriteQuoted(char* p, std::string_view bytes, QuoteStyle style) {
    const bool json = style == QuoteStyle::Json;
    const auto plain = [json](unsigned char byte) {
        return byte >= 0x20 && byte != '"' && byte != '\\' && (json ? byte < 0x80 : byte != 0x7F);
    };
    *p++ = '"';
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Runs of bytes that stand as they are are copied in one piece.
        std::size_t run = i;
        while (run < bytes.size() && plain(static_cast<unsigned char>(bytes[run])))
            ++run;
        std::memcpy(p, bytes.data() + i, run - i);
        p += run - i;
        if (run == bytes.size()) break;
        const auto byte = static_cast<unsigned char>(bytes[run]);
        i = run + 1;
        *p++ = '\\';
        switch (byte) {
        case '"':
        case '\\': *p++ = static_cast<char>(byte); break;
        case '\n': *p++ = 'n'; break;
        case '\r': *p++ = 'r'; break;
        case '\t': *p++ = 't'; break;
        default: {
            static const char kDigits[] = "0123456789ABCDEF";
            if (json) {
                *p++ = 'u';
                *p++ = '0';
                *p++ = '0';
            } else {
                *p++ = 'x';
            }
            *p++ = kDigits[byte >> 4];
            *p++ = kDigits[byte & 15];
        }
        }
    }
    *p++ = '"';
    return p;
}

void AppendQuoted(std::string& out, std::string_view bytes, QuoteStyle style) {
    // Through a buffer on the stack for short texts; a message may quote a long one.
    char small[256];
    std::string large;
    char* buffer = small;
    if (QuotedSizeLimit(bytes.size()) > sizeof small) {
        large.resize(QuotedSizeLimit(bytes.size()));
        buffer = &large[0];
    }
    out.append(buffer, static_cast<std::size_t>(WriteQuoted(buffer, bytes, style) - buffer));
}

std::string QuotedText(std::string_view text) {
    std::string out;
    AppendQuoted(out, text, QuoteStyle::Message);
    return out;
}

std::string WithoutCarriageReturns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

std::string Decimal(std::uint32_t value) {
    std::string text;
    AppendDecimal(text, value);
    return text;
}

void AppendDecimal(std::string& out, std::uint64_t value) {
    char digits[kDecimalSizeLimit];
    out.append(digits, static_cast<std::size_t>(WriteDecimal(digits, value) - digits));
}

void AppendFieldChange(std::string& out, const char* name, std::uint32_t before, std::uint32_t after) {
    out += "  ";
    out += name;
    out += ": ";
    AppendDecimal(out, before);
    out += " -> ";
    AppendDecimal(out, after);
    out += '\n';
}

char* WriteDecimal(char* p, std::uint64_t value) {
    // Two digits at a time, from the end.
    static const char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    std::size_t digits = 1;
    for (std::uint64_t rest = value; rest >= 10; rest /= 10)
        ++digits;
    char* end = p + digits;
    while (value >= 100) {
        const std::size_t pair = static_cast<std::size_t>(value % 100) * 2;
        value /= 100;
        *--end = kPairs[pair + 1];
        *--end = kPairs[pair];
    }
    if (value >= 10) {
        *--end = kPairs[value * 2 + 1];
        *--end = kPairs[value * 2];
    } else {
        *--end = static_cast<char>('0' + value);
    }
    return p + digits;
}

std::string Hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string RecordHeading(TableIndex t, std::size_t index, std::uint32_t typeId, std::string_view name) {
    return std::string(EntryName(t)) + " record " + std::to_string(index) + ", TypeID " + Decimal(typeId) +
           " " + QuotedText(name);
}

std::string PositionText(const Position& at) {
    switch (at.kind) {
    case Position::Kind::Line: return "line " + std::to_string(at.number);
    case Position::Kind::Argument: return "argument " + std::to_string(at.number);
    case Position::Kind::Record: return "record " + std::to_string(at.number);
    case Position::Kind::Nothing: break;
    }
    return "the input";
}

} // namespace ledgrin::cli
