// Fuzz target of the INI reader and writer: any bytes parse, every query answers, and a text
// written back parses to the same sections and values.
#include "platform/ini_document.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    mv::IniDocument doc = mv::IniDocument::parse(bytes);
    // Unchanged documents are written back byte for byte.
    check(doc.serialize() == bytes);

    const auto sections = doc.sectionNames();
    for (const std::string& section : sections) {
        for (const auto& [key, value] : doc.sectionEntries(section)) {
            const std::string* found = doc.find(section, key);
            check(found != nullptr);
        }
    }

    // Writes keep the document parseable and visible.
    const std::string section = sections.empty() ? std::string("Fuzz") : sections.front();
    if (section.find_first_of("\r\n") == std::string::npos) {
        doc.setValue(section, "FuzzKey", "value");
        const std::string* v = doc.find(section, "fuzzkey");
        check(v && *v == "value");
        const std::string text = doc.serialize();
        mv::IniDocument again = mv::IniDocument::parse(text);
        check(again.serialize() == text);
        const std::string* w = again.find(section, "FUZZKEY");
        check(w && *w == "value");
        doc.removeKey(section, "FuzzKey");
        doc.removeSection(section);
        (void)doc.serialize();
    }
    return 0;
}
