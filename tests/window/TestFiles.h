// Temporary folders and archives for the window and start-up tests.
#pragma once

#include "records/TableInfo.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ledgrin {

// A fresh folder under the system's temporary folder, removed with its files when the
// object goes away.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// The small demo archive with table t's entry (header and records) changed by `edit`.
bool WriteEditedArchive(const std::string& path, TableIndex t,
                        const std::function<void(std::vector<std::uint8_t>& entry)>& edit);

// The small demo archive (seed 1). True when written.
bool WriteGoodArchive(const std::string& path);

std::string ReadWholeFile(const std::string& path);

// The lines of `text`, without their line ends.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace ledgrin
