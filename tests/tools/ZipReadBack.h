// Reads archives back with libzip alone, independently of the code that wrote them.
#pragma once

#include <zip.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace ledgrin_test {

struct ZipReadBack {
    zip_t* za = nullptr;
    explicit ZipReadBack(const std::string& path) { za = zip_open(path.c_str(), ZIP_RDONLY, nullptr); }
    ~ZipReadBack() {
        if (za) zip_discard(za);
    }
    ZipReadBack(const ZipReadBack&) = delete;
    ZipReadBack& operator=(const ZipReadBack&) = delete;

    std::int64_t Find(const std::string& name) const { return zip_name_locate(za, name.c_str(), 0); }
    zip_stat_t Stat(zip_uint64_t i) const {
        zip_stat_t st;
        zip_stat_init(&st);
        zip_stat_index(za, i, 0, &st);
        return st;
    }
    std::vector<std::uint8_t> Data(zip_uint64_t i) const {
        std::vector<std::uint8_t> out(Stat(i).size);
        zip_file_t* f = zip_fopen_index(za, i, 0);
        const zip_int64_t n = f ? zip_fread(f, out.data(), out.size()) : -1;
        if (f) zip_fclose(f);
        return n == static_cast<zip_int64_t>(out.size()) ? out : std::vector<std::uint8_t>{};
    }
    std::string Comment(zip_uint64_t i) const {
        zip_uint32_t len = 0;
        const char* c = zip_file_get_comment(za, i, &len, ZIP_FL_ENC_RAW);
        return c ? std::string(c, len) : std::string();
    }
    // The data of extra field `id` in one header (ZIP_FL_LOCAL or ZIP_FL_CENTRAL), or "absent".
    std::string Extra(zip_uint64_t i, zip_uint16_t id, zip_flags_t where) const {
        zip_uint16_t len = 0;
        const zip_uint8_t* d = zip_file_extra_field_get_by_id(za, i, id, 0, &len, where);
        return d ? std::string(reinterpret_cast<const char*>(d), len) : std::string("absent");
    }
    // The entry's DOS timestamp, which is a local time, as "YYYY-MM-DD hh:mm:ss".
    std::string Time(zip_uint64_t i) const {
        const std::time_t mtime = Stat(i).mtime;
        char text[32] = "";
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::localtime(&mtime));
        return text;
    }
};

} // namespace ledgrin_test
