// What the process reports to its parent.
#pragma once

namespace scatter {

enum exit_status : int {
    exit_ok = 0,            // every requested line was written (none for a count of 0)
    exit_write_failed = 1,  // standard output refused a write; nothing more was tried
    exit_bad_count = 2,     // the argument is not a usable count; nothing was written
};

}  // namespace scatter
