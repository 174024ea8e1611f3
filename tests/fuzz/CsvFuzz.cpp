// Arbitrary bytes as an import CSV file. A file read without errors has rows of exactly
// the header's columns, in its order, at lines that only grow; written again with the
// export's writer and read back, it gives the same header and rows.
#include "cli/Csv.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::fuzz;

namespace {

std::vector<std::string> Texts(const std::vector<InputCell>& cells, bool names) {
    std::vector<std::string> texts;
    for (const InputCell& cell : cells)
        texts.push_back(names ? cell.column : cell.text);
    return texts;
}

// A record the reader cannot tell from something else once written: a lone empty field
// is a blank line (skipped), and a byte-order mark at the start is dropped.
bool WritesBackAmbiguously(const InputRows& read) {
    const bool lone = read.header.size() == 1 &&
                      (read.header[0].column.empty() ||
                       std::any_of(read.rows.begin(), read.rows.end(),
                                   [](const InputRow& row) { return row.cells[0].text.empty(); }));
    return lone || read.header[0].column.rfind("\xEF\xBB\xBF", 0) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const InputRows read = ReadCsv(text);
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    for (const Problem& p : read.problems)
        FUZZ_CHECK(p.at.number >= 1 && p.at.number <= lines && !p.message.empty());
    if (!read.problems.empty()) return 0;
    FUZZ_CHECK(!read.header.empty());
    int last = 1;
    for (const InputRow& row : read.rows) {
        FUZZ_CHECK(row.at.number > last && row.at.number <= lines);
        last = row.at.number;
        FUZZ_CHECK(Texts(row.cells, true) == Texts(read.header, true));
    }
    if (WritesBackAmbiguously(read)) return 0;
    std::string again;
    AppendCsvRecord(again, Texts(read.header, true));
    for (const InputRow& row : read.rows)
        AppendCsvRecord(again, Texts(row.cells, false));
    const InputRows reread = ReadCsv(again);
    FUZZ_CHECK(reread.problems.empty() && reread.rows.size() == read.rows.size());
    FUZZ_CHECK(Texts(reread.header, true) == Texts(read.header, true));
    for (std::size_t i = 0; i < read.rows.size(); ++i)
        FUZZ_CHECK(Texts(reread.rows[i].cells, false) == Texts(read.rows[i].cells, false));
    return 0;
}
