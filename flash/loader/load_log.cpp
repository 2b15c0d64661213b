#include "flash/loader/load_log.h"

#include "platform/regular_file.h"

#include <cstdio>
#include <memory>

namespace flash {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

int Append(std::string_view text, bool lineEnd) {
    // Only a regular file is appended to: a pipe or a folder in its place is skipped.
    std::unique_ptr<std::FILE, FileCloser> file(mv::openRegularFileForWriting(kLogFileName, true));
    if (!file) {
        return 1;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    if (lineEnd) {
        ok = std::fputc('\n', file.get()) != EOF && ok;
    }
    ok = std::fflush(file.get()) == 0 && ok;
    return ok ? 1 : 0;
}

} // namespace

int CLoadLog::Write(std::string_view text) {
    return Append(text, false);
}

int CLoadLog::WriteLine(std::string_view text) {
    return Append(text, true);
}

} // namespace flash
