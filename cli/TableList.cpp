#include "cli/TableList.h"

#include "cli/CliText.h"

#include <cstdarg>
#include <cstdio>

namespace ledgrin::cli {

namespace {

std::string Line(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Line(const char* format, ...) {
    char buffer[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

} // namespace

std::string FormatTableList(const LoadedArchive& archive) {
    std::string out = Line("%-15s %7s %11s %11s %7s %10s\n", "Table", "Records", "Record size", "HeaderWord2",
                           "Version", "Size");
    for (TableIndex t = 0; t < kTableCount; ++t) {
        const TableSlot& slot = archive.store[t];
        const LoadResult result = archive.results[t];
        if (result == kLoaded) {
            const unsigned long size = static_cast<unsigned long>(kTableHeaderSize + slot.Records.size());
            out += Line("%-15s %7u %11u %11s %7lu %10lu\n", EntryName(t),
                        static_cast<unsigned>(slot.RecordCount), static_cast<unsigned>(RecordSize(t)),
                        Hex(slot.HeaderWord2, 4).c_str(), static_cast<unsigned long>(slot.Version), size);
        } else if (result == kUnsupportedVersion) {
            out +=
                Line("%-15s %7u %11u %11s %7lu %10s\n", EntryName(t), static_cast<unsigned>(slot.RecordCount),
                     static_cast<unsigned>(RecordSize(t)), Hex(slot.HeaderWord2, 4).c_str(),
                     static_cast<unsigned long>(slot.Version), "unsupported version");
        } else {
            out += Line("%-15s ", EntryName(t)) + "missing or damaged: " + LoadProblem(archive, t) + "\n";
        }
    }
    return out;
}

} // namespace ledgrin::cli
