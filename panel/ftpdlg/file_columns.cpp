#include "panel/ftpdlg/file_columns.h"

#include <cstdio>

namespace ftpdlg {

namespace {

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

LocalColumns MakeLocalColumns(std::uint64_t size, std::time_t modified, std::time_t now) {
    LocalColumns c;
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(size));
    c.size = text;
    std::tm when{};
    std::tm today{};
    localtime_r(&modified, &when);
    localtime_r(&now, &today);
    c.month = kMonths[when.tm_mon >= 0 && when.tm_mon < 12 ? when.tm_mon : 0];
    std::snprintf(text, sizeof text, "%d", when.tm_mday);
    c.day = text;
    if (when.tm_year == today.tm_year)
        std::snprintf(text, sizeof text, "%02d:%02d", when.tm_hour, when.tm_min);
    else
        std::snprintf(text, sizeof text, "%04d", when.tm_year + 1900);
    c.timeOrYear = text;
    return c;
}

std::string DisplayName(const RemoteRow& row) {
    if (!row.directory)
        return row.name;
    if (row.name.empty() || row.name == "/" || row.name.back() == '/')
        return "..";
    const std::size_t slash = row.name.rfind('/');
    return slash == std::string::npos ? row.name : row.name.substr(slash + 1);
}

bool InFirstPass(const RemoteRow& row) {
    if (row.directory)
        return !DisplayName(row).empty();
    return row.directoryField.find_first_not_of('/') != std::string::npos;
}

std::string RemotePath(const RemoteRow& row) {
    std::string path = row.directoryField.empty() ? "/" : row.directoryField;
    if (path.back() != '/')
        path.push_back('/');
    return path + row.name;
}

std::string RemoteParent(const std::string& directory) {
    std::string d = directory;
    while (d.size() > 1 && d.back() == '/')
        d.pop_back();
    const std::size_t slash = d.rfind('/');
    if (slash == std::string::npos)
        return "/";
    return d.substr(0, slash + 1);
}

std::string LocalParent(const std::string& directory) {
    const std::size_t slash = directory.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return directory.substr(0, slash);
}

std::string LocalChild(const std::string& directory, const std::string& name) {
    return directory.empty() || directory.back() == '/' ? directory + name
                                                        : directory + "/" + name;
}

} // namespace ftpdlg
