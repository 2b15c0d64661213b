// Problems a module description reader finds in one file are gathered and shown to the user as
// one message: the file, the first problems and a count of the rest. While a report scope is
// open (an open, an import, an upload or an insert of several tiles) each file is reported once,
// however many tiles of its type are made.
#pragma once

#include "morvelan/core/app_hooks.h"

#include <set>
#include <string>
#include <vector>

namespace mv {

// Problems listed by name in the message; the rest are counted.
constexpr std::size_t kListedDescriptionProblems = 10;

// The problems of one reading of a description file.
class CDescriptionProblems {
public:
    void Clear() { m_Lines.clear(); }
    void Add(std::string line) { m_Lines.push_back(std::move(line)); }
    const std::vector<std::string>& Lines() const { return m_Lines; }

    // Shows them (nothing when there are none), unless the open report scope already showed
    // this file.
    void Report(const std::string& path) const;

private:
    std::vector<std::string> m_Lines;
};

// The message: line 1 names the file, line 2 holds the first problems one per line and, when
// there are more, "... and N more" (N with thousands separators).
AppMessage DescriptionProblemsMessage(const std::string& path,
                                      const std::vector<std::string>& problems);

// Files are reported once while the outermost scope lives; scopes nest.
class CDescriptionReportScope {
public:
    CDescriptionReportScope();
    ~CDescriptionReportScope();
    CDescriptionReportScope(const CDescriptionReportScope&) = delete;
    CDescriptionReportScope& operator=(const CDescriptionReportScope&) = delete;

    // True the first time a file is named in the open scope (or always without a scope).
    static bool FirstReport(const std::string& path);

private:
    CDescriptionReportScope* m_Outer;
    std::set<std::string> m_Reported;
};

} // namespace mv
