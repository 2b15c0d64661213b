#include "morvelan/core/description_problems.h"

#include <algorithm>

namespace mv {

namespace {

CDescriptionReportScope* g_scope = nullptr;

// 2038 -> "2,038".
std::string Grouped(std::size_t n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

} // namespace

AppMessage DescriptionProblemsMessage(const std::string& path,
                                      const std::vector<std::string>& problems) {
    std::string list;
    const std::size_t listed = std::min(problems.size(), kListedDescriptionProblems);
    for (std::size_t i = 0; i < listed; ++i) {
        if (i > 0)
            list += '\n';
        list += problems[i];
    }
    if (problems.size() > listed)
        list += "\n... and " + Grouped(problems.size() - listed) + " more";
    return ErrorMessage(path, list);
}

void CDescriptionProblems::Report(const std::string& path) const {
    if (m_Lines.empty() || !CDescriptionReportScope::FirstReport(path))
        return;
    appHooks().ShowMessage(DescriptionProblemsMessage(path, m_Lines));
}

CDescriptionReportScope::CDescriptionReportScope() : m_Outer(g_scope) {
    if (!m_Outer)
        g_scope = this;
}

CDescriptionReportScope::~CDescriptionReportScope() {
    if (!m_Outer)
        g_scope = nullptr;
}

bool CDescriptionReportScope::FirstReport(const std::string& path) {
    return !g_scope || g_scope->m_Reported.insert(path).second;
}

} // namespace mv
