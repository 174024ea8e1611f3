// Arbitrary bytes as an import JSON file. An error names a line and column inside the
// file and keeps no rows; a file read without errors is valid JSON to the generic walk
// too, names each member once per row, and written again (every value as a string)
// reads back the same.
#include "cli/Json.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <set>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const InputRows read = ReadJson(text);
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    if (!read.problems.empty()) {
        FUZZ_CHECK(read.problems.size() == 1 && read.rows.empty());
        const Position& at = read.problems[0].at;
        FUZZ_CHECK(at.number >= 1 && at.number <= lines && at.column >= 1 &&
                   !read.problems[0].message.empty());
        std::size_t start = 0; // of the error's line
        for (int line = 1; line < at.number; ++line)
            start = text.find('\n', start) + 1;
        const std::size_t end = std::min(text.find('\n', start), text.size());
        FUZZ_CHECK(static_cast<std::size_t>(at.column) <= end - start + 1);
        return 0;
    }
    JsonReader walk(text);
    walk.SkipValue(); // throws, and so stops the run, if the generic walk disagrees
    walk.Finish();
    std::string again = "[";
    for (const InputRow& row : read.rows) {
        std::set<std::string> names;
        again += again.size() > 1 ? ",\n{" : "\n{";
        for (const InputCell& cell : row.cells) {
            FUZZ_CHECK(names.insert(cell.column).second);
            if (names.size() > 1) again += ", ";
            AppendJsonString(again, cell.column);
            again += ": ";
            AppendJsonString(again, cell.text);
        }
        again += "}";
    }
    again += "]";
    const InputRows reread = ReadJson(again);
    FUZZ_CHECK(reread.problems.empty() && reread.rows.size() == read.rows.size());
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        FUZZ_CHECK(reread.rows[i].cells.size() == read.rows[i].cells.size());
        for (std::size_t j = 0; j < read.rows[i].cells.size(); ++j)
            FUZZ_CHECK(reread.rows[i].cells[j].column == read.rows[i].cells[j].column &&
                       reread.rows[i].cells[j].text == read.rows[i].cells[j].text);
    }
    return 0;
}
