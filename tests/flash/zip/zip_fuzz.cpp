// Fuzz target: opens the input as an archive and extracts every entry into a scratch folder,
// with the total output capped through the extraction callback.
#include "flash/zip/zip_archive.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kOutputCap = 4u << 20;

struct Budget {
    std::uint64_t used = 0;
    std::uint64_t entryBase = 0;
};

bool withinBudget(std::uint64_t, std::uint64_t done, void* user) {
    auto* b = static_cast<Budget*>(user);
    return b->entryBase + done <= kOutputCap;
}

// A fresh scratch folder per input, removed when the input is done (libFuzzer may end the
// process without running exit handlers, so nothing is left for them).
class Scratch {
public:
    Scratch() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mvzip-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_dir = pattern;
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    const std::filesystem::path& path() const { return m_dir; }

private:
    std::filesystem::path m_dir;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int fd = ::memfd_create("zip-input", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    const std::string name = "/proc/self/fd/" + std::to_string(fd);
    const Scratch scratch;
    const std::filesystem::path out = scratch.path() / "out";
    CZipArchive zip;
    try {
        zip.Open(name);
    } catch (const CZipException&) {
        return 0;
    }
    Budget budget;
    for (int i = 0; i < zip.GetCount(); ++i) {
        CZipEntryHeader header;
        zip.GetFileInfo(header, i);
        try {
            // Read through the entry primitives, then extract.
            if (zip.OpenFile(i)) {
                char buffer[4096];
                std::uint64_t read = 0;
                std::size_t n;
                while (read < kOutputCap && (n = zip.ReadFile(buffer, sizeof buffer)) > 0)
                    read += n;
                zip.CloseFile();
            }
        } catch (const CZipException&) {
        }
        try {
            budget.entryBase = budget.used;
            zip.ExtractFile(i, out.string(), true, {}, &withinBudget, &budget, 65535);
        } catch (const CZipException&) {
        }
        budget.used += header.m_uUncomprSize;
        if (budget.used > kOutputCap)
            break;
    }
    return 0;
}
