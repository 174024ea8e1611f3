#include "archive/ZipFileTarget.h"

#include "archive/FileReplace.h"

#include <cerrno>
#include <new>

namespace ledgrin {

namespace {

struct Target {
    std::FILE* file;
    zip_error_t error;
};

int SeekFile(std::FILE* file, zip_int64_t offset, int whence) {
#ifdef _WIN32
    return _fseeki64(file, offset, whence);
#else
    return fseeko(file, offset, whence);
#endif
}

zip_int64_t TellFile(std::FILE* file) {
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

zip_int64_t Fail(Target& t, int zipError) {
    zip_error_set(&t.error, zipError, errno);
    return -1;
}

zip_int64_t Write(Target& t, const void* data, zip_uint64_t len) {
    if (std::fwrite(data, 1, static_cast<std::size_t>(len), t.file) != len) return Fail(t, ZIP_ER_WRITE);
    return static_cast<zip_int64_t>(len);
}

zip_int64_t SeekWrite(Target& t, void* data, zip_uint64_t len) {
    auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, len, &t.error);
    if (!args) return -1;
    return SeekFile(t.file, args->offset, args->whence) == 0 ? 0 : Fail(t, ZIP_ER_SEEK);
}

zip_int64_t TellWrite(Target& t) {
    zip_int64_t offset = TellFile(t.file);
    return offset >= 0 ? offset : Fail(t, ZIP_ER_TELL);
}

zip_int64_t Callback(void* userdata, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    Target& t = *static_cast<Target*>(userdata);
    switch (cmd) {
    case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_WRITABLE;
    // zip_open_from_source takes a stat failing with ENOENT as "no archive there yet".
    case ZIP_SOURCE_STAT: zip_error_set(&t.error, ZIP_ER_READ, ENOENT); return -1;
    case ZIP_SOURCE_OPEN:
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_READ:
    case ZIP_SOURCE_SEEK:
    case ZIP_SOURCE_TELL:
    case ZIP_SOURCE_REMOVE:
    case ZIP_SOURCE_ROLLBACK_WRITE: return 0; // the caller deletes the file it created
    case ZIP_SOURCE_BEGIN_WRITE: return SeekFile(t.file, 0, SEEK_SET) == 0 ? 0 : Fail(t, ZIP_ER_SEEK);
    case ZIP_SOURCE_WRITE: return Write(t, data, len);
    case ZIP_SOURCE_SEEK_WRITE: return SeekWrite(t, data, len);
    case ZIP_SOURCE_TELL_WRITE: return TellWrite(t);
    case ZIP_SOURCE_COMMIT_WRITE: return FlushFileToDisk(t.file) ? 0 : Fail(t, ZIP_ER_WRITE);
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&t.error, data, len);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&t.error);
        delete &t;
        return 0;
    default: zip_error_set(&t.error, ZIP_ER_OPNOTSUPP, 0); return -1;
    }
}

} // namespace

zip_source_t* CreateZipFileTarget(std::FILE* file, zip_error_t* error) {
    Target* t = new (std::nothrow) Target{file, {}};
    if (!t) {
        zip_error_set(error, ZIP_ER_MEMORY, 0);
        return nullptr;
    }
    zip_error_init(&t->error);
    zip_source_t* source = zip_source_function_create(Callback, t, error);
    if (!source) delete t;
    return source;
}

} // namespace ledgrin
