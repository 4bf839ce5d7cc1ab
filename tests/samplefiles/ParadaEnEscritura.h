#pragma once

// Stops a piece of the program dead at one chosen change to the file system, as a kill or a
// crash would: the piece runs in a child process traced from the parent, and the child is
// killed as it enters that call, which therefore never happens.

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

enum class FinDeParada { Terminado, Matado, Fallido };

/// Whether the call being entered may change a file: a write, a truncation, a sync, a link or
/// unlink, an open for writing.
inline bool CambiaFichero(const __ptrace_syscall_info& info) {
    const auto nr = static_cast<long>(info.entry.nr);
    if (nr == SYS_openat) {
        return (info.entry.args[2] & O_ACCMODE) != O_RDONLY;
    }
    for (const long cambia : {
             long{SYS_write},
             long{SYS_pwrite64},
             long{SYS_writev},
             long{SYS_pwritev},
             long{SYS_ftruncate},
             long{SYS_fsync},
             long{SYS_fdatasync},
             long{SYS_linkat},
             long{SYS_unlinkat},
             long{SYS_renameat2},
#ifdef SYS_unlink
             long{SYS_unlink},
             long{SYS_rename},
             long{SYS_link},
             long{SYS_open},
#endif
         }) {
        if (nr == cambia) {
            return true;
        }
    }
    return false;
}

/// Runs `preparar` and then `paso` in a child process, killing it as it enters the `n`-th
/// call of `paso` that may change a file (counted from 1). Terminado: `paso` returned before
/// that call; Fallido: it raised, or the child could not be traced.
template <typename Preparar, typename Paso>
FinDeParada ParaEnEscritura(int n, Preparar preparar, Paso paso) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int fin = 0;
        try {
            if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) {
                ::_exit(3);
            }
            preparar();
            // Tracing of the calls begins here.
            ::raise(SIGSTOP);
            paso();
        } catch (...) {
            fin = 2;
        }
        ::_exit(fin);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status)) {
        return FinDeParada::Fallido;
    }
    ::ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int vistas = 0;
    int senal = 0;
    for (;;) {
        ::ptrace(PTRACE_SYSCALL, pid, nullptr, senal);
        senal = 0;
        if (::waitpid(pid, &status, 0) != pid) {
            return FinDeParada::Fallido;
        }
        if (WIFEXITED(status)) {
            return WEXITSTATUS(status) == 0 ? FinDeParada::Terminado : FinDeParada::Fallido;
        }
        if (WIFSIGNALED(status)) {
            return FinDeParada::Fallido;
        }
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            senal = WSTOPSIG(status) == SIGSTOP ? 0 : WSTOPSIG(status); // passed on
            continue;
        }
        __ptrace_syscall_info info{};
        if (::ptrace(PTRACE_GET_SYSCALL_INFO, pid, sizeof info, &info) > 0 &&
            info.op == PTRACE_SYSCALL_INFO_ENTRY && CambiaFichero(info) && ++vistas == n) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return FinDeParada::Matado;
        }
    }
}
