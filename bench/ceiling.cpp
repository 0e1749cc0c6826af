// ceiling BYTES: writes BYTES bytes of lines that are already made, in the
// writes that scatter makes (128 KiB each, through the same widened pipe),
// so that the benchmark can show what the kernel's copy alone costs.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "output.hpp"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::uint64_t left = std::strtoull(argv[1], nullptr, 10);
    static char lines[std::size_t{1} << 17];
    constexpr char line[] = "-5.138707 1.757256\n";
    for (std::size_t i = 0; i < sizeof lines; ++i)
        lines[i] = line[i % (sizeof line - 1)];

    scatter::widen_pipe(STDOUT_FILENO, left);
    while (left > 0) {
        const std::size_t size = left < sizeof lines ? static_cast<std::size_t>(left) : sizeof lines;
        if (!scatter::write_all(STDOUT_FILENO, lines, size))
            return 1;
        left -= size;
    }
    return 0;
}
