// version_resource FILE: prints the version block of a Windows executable as Windows reads
// it: the fixed file and product versions, then the FileVersion and ProductVersion texts,
// one per line. Exit 1 when the file has no version block.
#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

bool PrintText(const std::vector<char>& block, const char* name) {
    char path[64];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\040904b0\\%s", name);
    void* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path, &text, &length) || length == 0) return false;
    std::printf("%s %s\n", name, static_cast<const char*>(text));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
    if (size == 0) return 1;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(argv[1], 0, size, block.data())) return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return 1;
    std::printf("FixedFileVersion %lu.%lu.%lu.%lu\n", HIWORD(fixed->dwFileVersionMS),
                LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                LOWORD(fixed->dwFileVersionLS));
    std::printf("FixedProductVersion %lu.%lu.%lu.%lu\n", HIWORD(fixed->dwProductVersionMS),
                LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                LOWORD(fixed->dwProductVersionLS));
    return PrintText(block, "FileVersion") && PrintText(block, "ProductVersion") ? 0 : 1;
}
