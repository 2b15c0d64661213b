#include "morvelan/ui/command_table.h"

void CommandTable::Register(int id, Handler handler, Available available) {
    if (!handler) {
        Unregister(id);
        return;
    }
    entries_[id] = Entry{std::move(handler), std::move(available)};
}

void CommandTable::Unregister(int id) {
    entries_.erase(id);
}

bool CommandTable::HasHandler(int id) const {
    const auto it = entries_.find(id);
    if (it == entries_.end())
        return false;
    return !it->second.available || it->second.available();
}

bool CommandTable::Run(int id) const {
    if (!HasHandler(id))
        return false;
    // A copy: the handler may replace itself while it runs.
    const Handler handler = entries_.at(id).handler;
    handler();
    return true;
}
