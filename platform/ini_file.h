// Settings files in INI text: every file of the system is read and written through here.
//
// The functions keep the behaviour of the classic private-profile calls the programs were
// written against:
// - section and key names are matched without regard to case, blanks around names and values
//   are ignored, one pair of matching quotes ('...' or "...") around a value is removed;
// - the first section and the first key of a name win; lines starting with ';' and lines
//   before the first section are never matched; there are no inline comments;
// - a missing file, section or key gives the default (its trailing blanks removed);
// - a text is cut to the buffer size minus one and always ends with a zero byte;
// - integers are read as a leading signed decimal number;
// - writes create the file (never its folder), append new sections and keys, replace values in
//   place, delete with a null key (whole section) or null value (one key), and write new lines
//   as "key=value" with CR LF.
//
// Parsed files are kept per path and read again when the file changed outside (inode, size or
// modification time); a write is seen by the next read at once. While an IniReadScope is alive
// a file checked once is trusted without asking the disk again. Every write reaches the disk
// through a temporary file and a rename, so a failed write leaves the old file whole. An
// IniBatch groups many writes into one save per file.
//
// Paths may use '\' as separator; a path not found as written is looked up again without regard
// to the case of its components. Failures leave the reason in errno.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mv {

// Reads one value into buf (size bytes including the zero); returns the count copied without
// the zero. With a null key: the key names of the section; with a null section: the section
// names; each name ends with a zero, the list with a second one, and a list cut short returns
// size - 2.
std::uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* def,
                                       char* buf, std::uint32_t size, const char* file);

// Reads a value as a leading signed decimal number; a missing or empty value gives def, a value
// without digits gives 0.
int GetPrivateProfileIntA(const char* section, const char* key, int def, const char* file);

// Reads a whole section as "key=value" texts (zero after each, a second zero at the end).
std::uint32_t GetPrivateProfileSectionA(const char* section, char* buf, std::uint32_t size,
                                        const char* file);

// Lists the section names in file order (zero after each, a second zero at the end).
std::uint32_t GetPrivateProfileSectionNamesA(char* buf, std::uint32_t size, const char* file);

// Writes, replaces or deletes (null value: the key; null key: the section). 1 on success,
// 0 on failure with errno set. All three null: nothing to do, 1.
int WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                               const char* file);

// The same calls for C++ callers.
std::string iniReadString(const std::string& file, std::string_view section, std::string_view key,
                          std::string_view def = {}, std::uint32_t bufferSize = 65536);
int iniReadInt(const std::string& file, std::string_view section, std::string_view key, int def);
std::vector<std::string> iniSectionNames(const std::string& file);
std::vector<std::string> iniKeyNames(const std::string& file, std::string_view section);
std::vector<std::pair<std::string, std::string>> iniReadSection(const std::string& file,
                                                                std::string_view section);
bool iniWriteString(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view value);
bool iniDeleteKey(const std::string& file, std::string_view section, std::string_view key);
bool iniDeleteSection(const std::string& file, std::string_view section);
// Writes an empty section when the file has none of that name (creating the file).
bool iniCreateSection(const std::string& file, std::string_view section);
bool iniHasSection(const std::string& file, std::string_view section);

// The largest file the reader takes; a larger one reads as unreadable (errno EFBIG).
constexpr std::uint64_t kIniMaxFileBytes = std::uint64_t{64} << 20;

// Why a file cannot be read: empty when it is a regular file within kIniMaxFileBytes, or when
// it does not exist (a missing file reads as empty); else the reason ("not a regular file",
// "larger than 64 MiB" or the system's text). Only regular files are ever read or replaced:
// a device, pipe or folder reads as unreadable and is never written.
std::string iniUnreadableReason(const std::string& file);

// Creates an empty temporary file beside a target, named "." + its name + "." + six
// characters, as every save of the target does before it renames the file over it. The
// temporary has the mode the target keeps (ReplacementMode of file_mode.h). Removes
// first the temporaries that interrupted saves of the same target left (regular files of that
// pattern, or of the pattern of a temporary's own temporaries, older than a minute, so a save
// running at the same moment keeps its own). Returns the open descriptor (close-on-exec) and
// sets `temporary`; -1 with errno on failure.
int iniCreateTemporary(const std::string& target, std::string& temporary);

// Empties a file: every section and line goes. Inside an IniBatch only the cached file changes
// until the batch saves it, so the old file stays whole on the disk till then. False when the
// file cannot be read (errno set).
bool iniClearFile(const std::string& file);

// Forgets the changes of one file that an open IniBatch has not saved yet: the batch will not
// write it, and the next read takes the file from the disk again.
void iniDiscardChanges(const std::string& file);

// Removes the file from the disk and from the cache (a project file is deleted before it is
// written anew). True when the file is gone afterwards.
bool iniRemoveFile(const std::string& file);

// Forgets every cached file (tests, and callers that know files were replaced wholesale).
void iniClearCache();

// The path a name resolves to: '\' becomes '/', and when the path does not exist as written
// its components are looked up without regard to case. A name not found keeps its spelling.
std::string iniResolvePath(const std::string& file);

// Groups writes: while at least one batch is alive, writes change only the cached files (reads
// see them at once); the outermost batch writes each changed file with one rename when it is
// committed or destroyed.
class IniBatch {
public:
    IniBatch();
    ~IniBatch();
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;

    // Ends this batch; the outermost one saves every changed file. False when a save failed
    // (errno set; that file is read from the disk again afterwards).
    bool commit();

private:
    bool open_ = true;
};

// Trusts the cache while a large read runs (a project names the same description files again
// and again): while at least one scope is alive, a file whose disk state was compared once in
// the scope is not compared again, so changes made outside are not seen until the outermost
// scope ends. Writes through these functions still update the cache and the disk at once.
// Scopes nest; the state is process-wide, like the cache.
class IniReadScope {
public:
    IniReadScope();
    ~IniReadScope();
    IniReadScope(const IniReadScope&) = delete;
    IniReadScope& operator=(const IniReadScope&) = delete;
};

} // namespace mv
