#include "platform/win_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

namespace mv {
namespace {

bool exists(const std::string& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

// The entry of the folder whose name matches without regard to case; empty when none.
std::string findNoCase(const std::string& dir, std::string_view name) {
    std::unique_ptr<DIR, DirCloser> d(::opendir(dir.empty() ? "." : dir.c_str()));
    if (!d) {
        return {};
    }
    std::string found;
    while (dirent* e = ::readdir(d.get())) {
        std::string_view entry(e->d_name);
        if (entry == name) {
            return std::string(entry);
        }
        if (found.empty() && equalNoCase(entry, name)) {
            found = std::string(entry);
        }
    }
    return found;
}

} // namespace

std::string toSlashPath(std::string_view path) {
    std::string out(path);
    for (char& c : out) {
        if (c == '\\') {
            c = '/';
        }
    }
    return out;
}

std::string joinPath(std::string_view dir, std::string_view name) {
    std::string a = toSlashPath(dir);
    std::string b = toSlashPath(name);
    if (a.empty()) {
        return b;
    }
    if (b.empty()) {
        return a;
    }
    while (a.size() > 1 && a.back() == '/') {
        a.pop_back();
    }
    std::size_t start = 0;
    while (start < b.size() && b[start] == '/') {
        ++start;
    }
    if (a == "/") {
        return a + b.substr(start);
    }
    return a + "/" + b.substr(start);
}

std::string resolvePath(std::string_view path) {
    const std::string p = toSlashPath(path);
    if (p.empty() || exists(p)) {
        return p;
    }
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= p.size()) {
        std::size_t next = p.find('/', pos);
        if (next == std::string::npos) {
            next = p.size();
        }
        parts.emplace_back(p.substr(pos, next - pos));
        pos = next + 1;
    }
    std::string out = (p[0] == '/') ? "/" : "";
    bool searching = true;
    bool first = true;
    for (const std::string& part : parts) {
        if (part.empty()) {
            continue;
        }
        std::string name = part;
        if (searching && part != "." && part != "..") {
            const std::string candidate = out.empty() ? part : joinPath(out, part);
            if (!exists(candidate)) {
                std::string match = findNoCase(out, part);
                if (match.empty()) {
                    searching = false; // the rest cannot exist; keep it as written
                } else {
                    name = match;
                }
            }
        }
        out = first && out.empty() ? name : joinPath(out, name);
        first = false;
    }
    if (!p.empty() && p.back() == '/' && (out.empty() || out.back() != '/')) {
        out.push_back('/');
    }
    return out;
}

} // namespace mv
