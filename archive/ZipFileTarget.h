// A libzip write target over a file the caller has created and keeps open. Creating the
// file stays a step of its own (with its own message), libzip writes straight into it with
// no second temporary file, and the finished archive is flushed to disk when libzip commits.
#pragma once

#include <zip.h>

#include <cstdio>

namespace ledgrin {

// A source for zip_open_from_source(..., ZIP_CREATE | ZIP_TRUNCATE, ...): it reports a new,
// empty archive and writes into `file`, which must outlive the archive and is not closed.
zip_source_t* CreateZipFileTarget(std::FILE* file, zip_error_t* error);

} // namespace ledgrin
