// The permissions of a file written in place of another: a save through a temporary and a
// rename must not change who may read the file.
#pragma once

#include <string>
#include <sys/types.h>

namespace mv {

// The process's file creation mask, read without changing it where the system allows.
mode_t CurrentUmask();

// The permission bits a file written to `target` gets: those of the regular file it replaces,
// else 0666 less the umask, as a plain create would give it.
mode_t ReplacementMode(const std::string& target);

// Gives the open file `fd`, to be renamed over `target`, the mode of ReplacementMode(target).
// False with errno when the mode cannot be set.
bool ApplyReplacementMode(int fd, const std::string& target);

} // namespace mv
