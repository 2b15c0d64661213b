#include "platform/ini_file.h"

#include "platform/file_mode.h"
#include "platform/ini_document.h"
#include "platform/regular_file.h"
#include "platform/win_path.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace mv {

namespace {

// What the disk held when a file was read or written last.
struct FileStamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    std::int64_t mtimeNs = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const struct stat& st) {
    FileStamp s;
    s.exists = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

FileStamp stampOfPath(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return stampOf(st);
}

struct CachedFile {
    IniDocument doc;
    FileStamp stamp;
    bool dirty = false;
    // The read scope in which the disk was last compared with this entry (0: none).
    std::uint64_t checkedIn = 0;
};

// Beyond this many files the clean ones are dropped (a catalogue of thousands of descriptions
// is read once and need not stay in memory).
constexpr std::size_t kCacheLimit = 4096;

class IniCache {
public:
    std::mutex mutex;
    int batchDepth = 0;
    int scopeDepth = 0;
    // Counts read scopes; an entry checked in the current one is trusted without a stat.
    std::uint64_t scopeGeneration = 0;

    // The cached file for a name, read again when the disk changed (unless it holds unsaved
    // writes); path receives the name resolved. Null when the file exists but cannot be read
    // (errno set).
    CachedFile* get(std::string_view file, std::string& path) {
        const std::string asked = toSlashPath(file);
        const auto a = aliases_.find(asked);
        path = a != aliases_.end() ? a->second : asked;
        // Unsaved writes of a batch win over the disk anyway; a file checked once in this read
        // scope is trusted as it stands. Neither needs the disk asked.
        if (const auto it = files_.find(path);
            it != files_.end() &&
            (it->second.dirty || (scopeDepth > 0 && it->second.checkedIn == scopeGeneration)))
            return &it->second;
        CachedFile* f = check(asked, path);
        if (f && scopeDepth > 0)
            f->checkedIn = scopeGeneration;
        return f;
    }

    void forget(const std::string& path) { files_.erase(path); }
    void clear() {
        files_.clear();
        aliases_.clear();
    }

    void beginScope() {
        if (scopeDepth++ == 0)
            ++scopeGeneration;
    }

    void endScope() {
        if (--scopeDepth == 0)
            ++scopeGeneration; // nothing checked so far is trusted any more
    }

    // Writes a changed file now, or marks it for the batch. A failed write drops the entry
    // (errno kept), so the next read sees the disk again.
    bool changed(const std::string& path, CachedFile& file) {
        if (batchDepth > 0) {
            file.dirty = true;
            return true;
        }
        if (save(path, file))
            return true;
        const int saved = errno;
        forget(path);
        errno = saved;
        return false;
    }

    bool saveDirty() {
        bool ok = true;
        int firstError = 0;
        for (auto it = files_.begin(); it != files_.end();) {
            if (!it->second.dirty) {
                ++it;
                continue;
            }
            if (save(it->first, it->second)) {
                ++it;
            } else {
                if (ok)
                    firstError = errno;
                ok = false;
                it = files_.erase(it);
            }
        }
        if (!ok)
            errno = firstError;
        return ok;
    }

private:
    // Compares the disk with the cached entry of a name and reads the file again when they
    // differ. asked is the name with '/' separators; path holds it or its known case-blind
    // match.
    CachedFile* check(const std::string& asked, std::string& path) {
        FileStamp now = stampOfPath(path);
        if (!now.exists) {
            // Not there as written: look the components up without regard to case.
            std::string resolved = iniResolvePath(asked);
            if (resolved != path) {
                path = std::move(resolved);
                now = stampOfPath(path);
                if (aliases_.size() >= kCacheLimit)
                    aliases_.clear();
                aliases_[asked] = path;
            }
        }
        auto it = files_.find(path);
        if (it != files_.end()) {
            if (it->second.dirty || it->second.stamp == now)
                return &it->second;
        }
        CachedFile fresh;
        if (!load(path, fresh)) {
            if (it != files_.end())
                files_.erase(it);
            return nullptr;
        }
        if (it == files_.end()) {
            if (files_.size() >= kCacheLimit)
                dropClean();
            it = files_.emplace(path, std::move(fresh)).first;
        } else {
            it->second = std::move(fresh);
        }
        return &it->second;
    }

    static bool load(const std::string& path, CachedFile& out) {
        // Not blocking: a named pipe must not hold the reader up before it is refused.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            if (errno == ENOENT || errno == ENOTDIR) {
                out = CachedFile{}; // a missing file reads as empty
                return true;
            }
            return false;
        }
        struct stat st {};
        std::string bytes;
        bool ok = ::fstat(fd, &st) == 0;
        if (ok && !S_ISREG(st.st_mode)) {
            ok = false;
            errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        } else if (ok && static_cast<std::uint64_t>(st.st_size) > kIniMaxFileBytes) {
            ok = false;
            errno = EFBIG;
        }
        if (ok) {
            if (st.st_size > 0)
                bytes.reserve(static_cast<std::size_t>(st.st_size));
            char chunk[16384];
            for (;;) {
                const ssize_t n = ::read(fd, chunk, sizeof chunk);
                if (n > 0) {
                    bytes.append(chunk, static_cast<std::size_t>(n));
                    if (bytes.size() > kIniMaxFileBytes) { // grew while being read
                        errno = EFBIG;
                        ok = false;
                        break;
                    }
                } else if (n == 0) {
                    break;
                } else if (errno != EINTR) {
                    ok = false;
                    break;
                }
            }
        }
        const int saved = errno;
        ::close(fd);
        if (!ok) {
            errno = saved;
            return false;
        }
        out.doc = IniDocument::parse(bytes);
        out.stamp = stampOf(st);
        out.dirty = false;
        return true;
    }

    // Writes the whole text to a temporary file beside the target and renames it over the
    // target. On failure the target is untouched.
    static bool save(const std::string& path, CachedFile& file) {
        struct stat old {};
        const bool exists = ::stat(path.c_str(), &old) == 0;
        if (exists && !S_ISREG(old.st_mode)) {
            // A device, pipe or folder in the target's place is never replaced.
            errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
            return false;
        }
        const std::string text = file.doc.serialize();
        std::string tmp;
        const int fd = iniCreateTemporary(path, tmp);
        if (fd < 0)
            return false;
        bool ok = true;
        std::size_t done = 0;
        while (ok && done < text.size()) {
            const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n < 0 && errno == EINTR)
                continue;
            else
                ok = false;
        }
        if (ok && ::fsync(fd) != 0)
            ok = false;
        int saved = errno;
        if (::close(fd) != 0 && ok) {
            ok = false;
            saved = errno;
        }
        if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
            ok = false;
            saved = errno;
        }
        if (!ok) {
            ::unlink(tmp.c_str());
            errno = saved != 0 ? saved : EIO;
            return false;
        }
        file.stamp = stampOfPath(path);
        file.dirty = false;
        return true;
    }

    void dropClean() {
        for (auto it = files_.begin(); it != files_.end();)
            it = it->second.dirty ? std::next(it) : files_.erase(it);
    }

    std::unordered_map<std::string, CachedFile> files_;
    // Names asked for -> the paths they resolved to without regard to case.
    std::unordered_map<std::string, std::string> aliases_;
};

// Seconds after which a temporary of an interrupted save counts as left behind.
constexpr std::time_t kStaleTemporarySeconds = 60;
// Characters mkostemp puts in place of "XXXXXX".
constexpr std::size_t kTemporarySuffix = 6;

// Whether `rest` is "." followed by the six characters of a temporary name.
bool isTemporarySuffix(std::string_view rest) {
    if (rest.size() != kTemporarySuffix + 1 || rest.front() != '.')
        return false;
    for (char c : rest.substr(1)) {
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum)
            return false;
    }
    return true;
}

// Whether a folder entry is a temporary of a save of `base`: ".base.XXXXXX", or a temporary of
// such a temporary, "..base.XXXXXX.YYYYYY".
bool isTemporaryOf(std::string_view entry, std::string_view base) {
    if (entry.size() < base.size() + 1 || entry.front() != '.')
        return false;
    const std::string_view inner = entry.substr(1);
    if (inner.substr(0, base.size()) == base && isTemporarySuffix(inner.substr(base.size())))
        return true;
    const std::size_t outer = inner.size() - (kTemporarySuffix + 1);
    return inner.size() > kTemporarySuffix + 1 && isTemporarySuffix(inner.substr(outer)) &&
           isTemporaryOf(inner.substr(0, outer), base);
}

void removeStaleTemporaries(const std::string& dir, const std::string& base) {
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr)
        return;
    const std::time_t limit = std::time(nullptr) - kStaleTemporarySeconds;
    while (const dirent* e = ::readdir(d)) {
        if (!isTemporaryOf(e->d_name, base))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_mtime < limit)
            ::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

IniCache& cache() {
    static IniCache* instance = new IniCache; // lives to the end of the process
    return *instance;
}

// Copies a zero-separated list into buf with the classic truncation rules.
std::uint32_t copyList(const std::vector<std::string>& items, char* buf, std::uint32_t size) {
    if (!buf || size == 0)
        return 0;
    if (size == 1) {
        buf[0] = '\0';
        return 0;
    }
    std::uint32_t pos = 0;
    for (const std::string& item : items) {
        const std::size_t need = item.size() + 1;
        if (pos + need + 1 > size) {
            // Cut short: fill what fits, then two zeros; the count is size - 2.
            const std::uint32_t room = size - 2 - pos;
            std::memcpy(buf + pos, item.data(), std::min<std::size_t>(room, item.size()));
            buf[size - 2] = '\0';
            buf[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buf + pos, item.data(), item.size());
        pos += static_cast<std::uint32_t>(item.size());
        buf[pos++] = '\0';
    }
    buf[pos] = '\0';
    if (pos == 0 && size > 1)
        buf[1] = '\0';
    return pos;
}

std::uint32_t copyText(std::string_view text, char* buf, std::uint32_t size) {
    if (!buf || size == 0)
        return 0;
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    if (n > 0)
        std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    return static_cast<std::uint32_t>(n);
}

std::string_view stripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

std::string_view trimEnd(std::string_view v) {
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t'))
        v.remove_suffix(1);
    return v;
}

// A name that would break the line structure of the file.
bool badName(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// A text as a C function would see it: up to its first zero byte.
std::string_view upToZero(std::string_view s) {
    const std::size_t zero = s.find('\0');
    return zero == std::string_view::npos ? s : s.substr(0, zero);
}

int parseLeadingInt(std::string_view v) {
    std::size_t i = 0;
    while (i < v.size() && (v[i] == ' ' || v[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) {
        negative = v[i] == '-';
        ++i;
    }
    std::uint32_t n = 0;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') {
        n = n * 10u + static_cast<std::uint32_t>(v[i] - '0'); // wraps like a 32-bit register
        ++i;
    }
    if (negative)
        n = 0u - n;
    return static_cast<int>(n);
}

} // namespace

std::string iniResolvePath(const std::string& file) { return resolvePath(file); }

std::uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* def,
                                       char* buf, std::uint32_t size, const char* file) {
    if (!buf || size == 0)
        return 0;
    buf[0] = '\0';
    if (!file) {
        errno = EINVAL;
        return 0;
    }
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::string path;
    const CachedFile* f = c.get(file, path);
    if (!section)
        return copyList(f ? f->doc.sectionNames() : std::vector<std::string>{}, buf, size);
    if (!key)
        return copyList(f ? f->doc.keyNames(section) : std::vector<std::string>{}, buf, size);
    const std::string* value = f ? f->doc.find(section, key) : nullptr;
    if (value)
        return copyText(stripQuotes(*value), buf, size);
    return copyText(trimEnd(def ? std::string_view(def) : std::string_view()), buf, size);
}

int GetPrivateProfileIntA(const char* section, const char* key, int def, const char* file) {
    if (!section || !key || !file)
        return def;
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::string path;
    const CachedFile* f = c.get(file, path);
    const std::string* value = f ? f->doc.find(section, key) : nullptr;
    if (!value)
        return def;
    const std::string_view v = stripQuotes(*value);
    if (v.empty())
        return def;
    return parseLeadingInt(v);
}

std::uint32_t GetPrivateProfileSectionA(const char* section, char* buf, std::uint32_t size,
                                        const char* file) {
    if (!buf || size == 0)
        return 0;
    buf[0] = '\0';
    if (!section || !file) {
        errno = EINVAL;
        return 0;
    }
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::string path;
    const CachedFile* f = c.get(file, path);
    std::vector<std::string> lines;
    if (f)
        for (const auto& [k, v] : f->doc.sectionEntries(section))
            lines.push_back(k + "=" + v);
    return copyList(lines, buf, size);
}

std::uint32_t GetPrivateProfileSectionNamesA(char* buf, std::uint32_t size, const char* file) {
    return GetPrivateProfileStringA(nullptr, nullptr, nullptr, buf, size, file);
}

int WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                               const char* file) {
    if (!file) {
        errno = EINVAL;
        return 0;
    }
    if (!section) {
        if (!key && !value)
            return 1; // nothing held back: every write is saved already or by its batch
        errno = EINVAL;
        return 0;
    }
    if (badName(section) || (key && badName(key)) || (value && badName(value)) ||
        (key && std::string_view(key).find('=') != std::string_view::npos)) {
        errno = EINVAL;
        return 0;
    }
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::string path;
    CachedFile* f = c.get(file, path);
    if (!f)
        return 0;
    bool changed = false;
    if (!key) {
        changed = f->doc.removeSection(section);
    } else if (!value) {
        changed = f->doc.removeKey(section, key);
    } else {
        changed = f->doc.setValue(section, key, value) || !f->stamp.exists;
    }
    if (!changed)
        return 1;
    return c.changed(path, *f) ? 1 : 0;
}

std::string iniReadString(const std::string& file, std::string_view section, std::string_view key,
                          std::string_view def, std::uint32_t bufferSize) {
    if (bufferSize == 0)
        return {};
    // The same result as the call with a buffer, without filling a buffer of the full size:
    // names end at a zero byte as they would as C texts, and the text is cut to the buffer.
    section = upToZero(section);
    key = upToZero(key);
    def = upToZero(def);
    std::string_view text;
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::string path;
    const CachedFile* f = c.get(upToZero(file), path);
    const std::string* value = f ? f->doc.find(section, key) : nullptr;
    text = value ? stripQuotes(*value) : trimEnd(def);
    return std::string(text.substr(0, bufferSize - 1));
}

int iniReadInt(const std::string& file, std::string_view section, std::string_view key, int def) {
    const std::string s(section), k(key);
    return GetPrivateProfileIntA(s.c_str(), k.c_str(), def, file.c_str());
}

std::vector<std::string> iniSectionNames(const std::string& file) {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::string path;
    const CachedFile* f = c.get(file, path);
    return f ? f->doc.sectionNames() : std::vector<std::string>{};
}

std::vector<std::string> iniKeyNames(const std::string& file, std::string_view section) {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::string path;
    const CachedFile* f = c.get(file, path);
    return f ? f->doc.keyNames(section) : std::vector<std::string>{};
}

std::vector<std::pair<std::string, std::string>> iniReadSection(const std::string& file,
                                                                std::string_view section) {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::string path;
    const CachedFile* f = c.get(file, path);
    return f ? f->doc.sectionEntries(section) : std::vector<std::pair<std::string, std::string>>{};
}

bool iniWriteString(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view value) {
    const std::string s(section), k(key), v(value);
    return WritePrivateProfileStringA(s.c_str(), k.c_str(), v.c_str(), file.c_str()) != 0;
}

bool iniDeleteKey(const std::string& file, std::string_view section, std::string_view key) {
    const std::string s(section), k(key);
    return WritePrivateProfileStringA(s.c_str(), k.c_str(), nullptr, file.c_str()) != 0;
}

bool iniDeleteSection(const std::string& file, std::string_view section) {
    const std::string s(section);
    return WritePrivateProfileStringA(s.c_str(), nullptr, nullptr, file.c_str()) != 0;
}

namespace {
// Applies an edit to a file's document; a change is saved (inside a batch: kept for the save).
// The edit tells whether it changed anything.
template <typename Edit>
bool editFile(const std::string& file, Edit edit) {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::string path;
    CachedFile* f = c.get(file, path);
    if (!f)
        return false;
    return !edit(f->doc) || c.changed(path, *f);
}
} // namespace

bool iniCreateSection(const std::string& file, std::string_view section) {
    if (section.empty() || badName(section)) {
        errno = EINVAL;
        return false;
    }
    return editFile(file, [&](IniDocument& doc) { return doc.addSection(section); });
}

bool iniHasSection(const std::string& file, std::string_view section) {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    std::string path;
    const CachedFile* f = c.get(file, path);
    return f && f->doc.hasSection(section);
}

std::string iniUnreadableReason(const std::string& file) {
    const std::string path = iniResolvePath(file);
    if (::access(path.c_str(), F_OK) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return {};
    return fileUnreadableReason(path, kIniMaxFileBytes);
}

int iniCreateTemporary(const std::string& target, std::string& temporary) {
    const std::size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = target.substr(dir.size());
    removeStaleTemporaries(dir.empty() ? std::string(".") : dir, base);
    temporary = dir + "." + base + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd >= 0 && !ApplyReplacementMode(fd, target)) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        errno = saved;
        return -1;
    }
    return fd;
}

bool iniClearFile(const std::string& file) {
    return editFile(file, [](IniDocument& doc) {
        doc = IniDocument();
        return true;
    });
}

void iniDiscardChanges(const std::string& file) {
    const std::string path = iniResolvePath(file);
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.forget(path);
}

bool iniRemoveFile(const std::string& file) {
    const std::string path = iniResolvePath(file);
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.forget(path);
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

void iniClearCache() {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.clear();
}

IniBatch::IniBatch() {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    ++c.batchDepth;
}

IniBatch::~IniBatch() { commit(); }

IniReadScope::IniReadScope() {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.beginScope();
}

IniReadScope::~IniReadScope() {
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.endScope();
}

bool IniBatch::commit() {
    if (!open_)
        return true;
    open_ = false;
    IniCache& c = cache();
    std::lock_guard lock(c.mutex);
    if (--c.batchDepth > 0)
        return true;
    return c.saveDirty();
}

} // namespace mv
