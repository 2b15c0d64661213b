// Receiver of the progress lines of a baud search (the "Status" window, or a test recorder).
#pragma once

namespace portwire {

class IStatusSink {
public:
    virtual ~IStatusSink() = default;
    // Appends one line and shows it at once.
    virtual void AddLine(const char* line) = 0;
};

} // namespace portwire
