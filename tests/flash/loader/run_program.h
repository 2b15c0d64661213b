// Runs a program of the build as a child process in a folder, with its standard input from a
// text (then its end) and its output collected, either through pipes or on a pseudo-terminal.
// A child that outlives its time limit is killed, so a hanging program fails the test.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace flashtest {

struct ProgramRun {
    int exitCode = -1;  // -1 when it did not exit by itself
    std::string output; // standard output (and, on a terminal, its echo)
};

struct ProgramOptions {
    std::string folder;     // working directory
    std::string input;      // bytes on standard input
    std::string inputAfter; // the input is written once the output holds this text
    bool terminal = false;  // stdin and stdout on a pseudo-terminal
    std::vector<std::pair<std::string, std::string>> env; // set (empty value: unset)
    int timeoutMs = 10000;
};

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const ProgramOptions& options);

// A fresh private folder below the system's temporary folder, removed with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return m_Path; }
    std::string file(const std::string& name) const { return m_Path + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

private:
    std::string m_Path;
};

} // namespace flashtest
