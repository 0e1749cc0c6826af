// Runs a program as a child process and collects what it did: its standard
// output and standard error, and how it ended.
#pragma once

#include <string>
#include <vector>

namespace scatter::testing {

enum class stdout_kind {
    pipe,    // a pipe that the test reads to the end
    file,    // a path opened for writing (a regular file, /dev/full, ...)
    closed,  // no file descriptor 1 at all
    socket,  // a Unix stream socket that the test reads to the end, as systemd gives a service
    // A Unix sequenced-packet socket, read to the end, whose every read
    // takes one write of the program whole: run_result::records.
    seqpacket,
};

struct run_options {
    // The argument vector, program name first.  An empty vector starts the
    // program with argc == 0.
    std::vector<std::string> argv;
    stdout_kind out = stdout_kind::pipe;
    std::string out_path;          // for stdout_kind::file
    bool ignore_sigpipe = false;   // start the child with SIGPIPE ignored
    bool nonblocking = false;      // set O_NONBLOCK on the stdout pipe or socket
    // For stdout_kind::socket and seqpacket: its send buffer (SO_SNDBUF) in
    // bytes, which Linux doubles, rounds up to its least and caps at
    // net.core.wmem_max; 0 leaves the system's.
    int send_buffer = 0;
    // Set the stdout pipe to this many bytes before the run (needs
    // F_SETPIPE_SZ, and the right to a pipe that wide); 0 leaves it.
    int pipe_capacity = 0;
    // The child's address-space limit (RLIMIT_AS) in bytes; 0 sets none.
    unsigned long address_space_limit = 0;
    // For stdout_kind::pipe: stop reading (and close the pipe) once this
    // many bytes have arrived; 0 reads to the end.
    std::size_t read_limit = 0;
    // Pause this many microseconds before each read, as a slow reader does.
    unsigned read_delay_us = 0;
    std::size_t read_chunk = 65536;  // 0 reads as much as the pipe holds (64 KiB from a socket)
    // A guard against a program that runs on: the child is killed by
    // SIGALRM after this many seconds.
    unsigned time_limit_s = 60;
};

struct run_result {
    std::string out;  // what arrived on the stdout pipe
    std::string err;  // what arrived on standard error
    int exit_code = -1;  // the exit status, or -1 when a signal ended it
    int signal = 0;      // the signal that ended it, or 0
    double cpu_seconds = 0;  // the processor time, user and system, that it used
    int initial_pipe_size = 0;  // the capacity of the stdout pipe when the run began (0 where unknown)
    int pipe_size = 0;          // and when it ended
    int send_buffer = 0;  // the send buffer of the stdout socket (SO_SNDBUF), as the system set it
    // For stdout_kind::seqpacket: the size of each write, in order.
    std::vector<std::size_t> records;
    // The file that the kernel runs as the child, from /proc/PID/exe when
    // its first output arrives: the program itself, or an interpreter
    // (such as an emulator) that it was handed to.  Empty where unknown.
    std::string exe;
};

// Runs the program at path.  In a cross build the program is started through
// the emulator that runs the tests (CMAKE_CROSSCOMPILING_EMULATOR): the
// emulator gets the path and the arguments after argv[0], and the program
// sees the path as its argv[0].  An emulator cannot start a program with an
// empty argument vector; run_program throws std::invalid_argument instead.
run_result run_program(const std::string& path, const run_options& options);

// A pipe whose two ends are closed on exec.
void make_pipe(int fds[2]);

// That emulator, program first, or empty when the program runs as it is.
const std::vector<std::string>& emulator();

}  // namespace scatter::testing
