// What the two file lists show, as texts (no Qt): the columns of a local file and what a
// remote row made by CFtpSession::ListDirectory names.
#pragma once

#include "panel/ftp/ftp_session.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace ftpdlg {

// Left edges of the columns inside an item.
constexpr int kIconX = 1;
constexpr int kNameX = 20;
constexpr int kLocalSizeX = 220;
constexpr int kLocalMonthX = 250;
constexpr int kLocalDayX = 270;
constexpr int kLocalTimeX = 310;
constexpr int kRemoteSizeX = 200;
// Free pixels kept between the end of a column's text and the start of the next column (or
// the end of the item).
constexpr int kColumnGap = 3;

struct LocalColumns {
    std::string size;       // bytes, "%.0f"
    std::string month;      // "Jan" .. "Dec"
    std::string day;        // "%d"
    std::string timeOrYear; // "%02d:%02d" in the current year, else "%04d"
};

// The columns of a file of `size` bytes last written at `modified`, seen at `now` (both
// read in local time).
LocalColumns MakeLocalColumns(std::uint64_t size, std::time_t modified, std::time_t now);

using RemoteRow = ftp::DirectoryRow;

// The name a row shows: a file's name; for a directory the last component of its path, or
// ".." for the row of the listed directory itself (a path ending in '/') and for the root.
std::string DisplayName(const RemoteRow& row);

// The reload's first pass takes rows whose directory-name field is not empty: the shown name
// of a directory row, the directory field of a file row with every '/' removed.
bool InFirstPass(const RemoteRow& row);

// The remote path of a file row: its directory field and its name.
std::string RemotePath(const RemoteRow& row);

// The parent of a remote directory that ends in '/' ("/" stays "/").
std::string RemoteParent(const std::string& directory);

// The parent of a local directory ("/" stays "/").
std::string LocalParent(const std::string& directory);
// A local directory and a name below it.
std::string LocalChild(const std::string& directory, const std::string& name);

} // namespace ftpdlg
