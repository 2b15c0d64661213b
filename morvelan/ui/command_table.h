// The frame's command table: one handler per command id. The frame serves its own commands
// through it, and every subsystem that adds commands registers its handlers here (see
// frame_command_modules.h). A command without a handler is unavailable in the menus and the
// toolbar.
#pragma once

#include <functional>
#include <map>

class CommandTable {
public:
    using Handler = std::function<void()>;
    // Tells whether a handler can run now (its dialog is there); empty: always.
    using Available = std::function<bool()>;

    // Registers (or replaces) the handler of a command.
    void Register(int id, Handler handler, Available available = {});
    void Unregister(int id);
    // True when a handler is registered and available.
    bool HasHandler(int id) const;
    // Runs the handler; false when there is none.
    bool Run(int id) const;

private:
    struct Entry {
        Handler handler;
        Available available;
    };
    std::map<int, Entry> entries_;
};
