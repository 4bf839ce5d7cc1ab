#include "Bench.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace {
struct Arranque {
    double segundos = -1; // negative: never said it was ready
    long picoKiB = 0;     // peak resident set, from the child's rusage
};

// Runs `argv` in `folder` with the readiness hook set and times it from fork to its
// "listo" line; the child then ends by itself and its peak memory is read back.
Arranque Lanzar(const QByteArray& folder, std::vector<QByteArray> argv) {
    std::vector<char*> args;
    for (QByteArray& a : argv) {
        args.push_back(a.data());
    }
    args.push_back(nullptr);
    int tubo[2];
    if (pipe(tubo) != 0) {
        return {};
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        dup2(tubo[1], STDOUT_FILENO);
        close(tubo[0]);
        close(tubo[1]);
        if (chdir(folder.constData()) == 0) {
            execv(args[0], args.data());
        }
        _exit(127);
    }
    close(tubo[1]);
    Arranque result;
    if (pid < 0) {
        close(tubo[0]);
        return result;
    }
    // A program that never gets ready (no activation, a crash) must not hang the bench.
    const auto limite = start + std::chrono::seconds(20);
    QByteArray leido;
    while (!leido.contains('\n')) {
        const auto quedan = std::chrono::duration_cast<std::chrono::milliseconds>(
            limite - std::chrono::steady_clock::now());
        pollfd p{tubo[0], POLLIN, 0};
        if (quedan.count() <= 0 || poll(&p, 1, static_cast<int>(quedan.count())) <= 0) {
            break;
        }
        char buffer[64];
        const ssize_t n = read(tubo[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        leido.append(buffer, n);
    }
    if (leido.startsWith("listo\n")) {
        result.segundos =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    } else {
        kill(pid, SIGKILL);
    }
    close(tubo[0]);
    int status = 0;
    rusage uso{};
    while (wait4(pid, &status, 0, &uso) < 0 && errno == EINTR) {
    }
    result.picoKiB = uso.ru_maxrss;
    return result;
}

double Mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

void RunStartupBenchmarks() {
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::printf("start-up: no temporary directory\n");
        return;
    }
    EscribirTabla5000(folder.filePath(QStringLiteral("MUESTRAS.DBF")));
    qputenv("VELMORANTA_AVISAR_LISTO", "1");
    const QByteArray path = QFile::encodeName(folder.path());
    // BENCH_PROGRAM runs another build of the program, say an older one, against the same
    // yardsticks in the same run.
    const QByteArray otro = qgetenv("BENCH_PROGRAM");
    const std::vector<QByteArray> programa{otro.isEmpty() ? VELMORANTA_PROGRAM : otro,
                                           "--simulate"};
    const std::vector<QByteArray> vacia{BENCH_EMPTY_WINDOW};
    const std::vector<QByteArray> etiqueta{BENCH_EMPTY_WINDOW, "--etiqueta"};
    const std::vector<QByteArray> fuentes{BENCH_EMPTY_WINDOW, "--fuentes"};

    // Alternated, so both see the same state of the machine and its caches.
    std::vector<double> tPrograma, tVacia, tEtiqueta, tFuentes, mPrograma, mVacia, mEtiqueta,
        mFuentes;
    constexpr int kVeces = 15;
    for (int i = 0; i < kVeces; ++i) {
        for (auto [argv, t, m] : {std::tuple{&programa, &tPrograma, &mPrograma},
                                  std::tuple{&vacia, &tVacia, &mVacia},
                                  std::tuple{&etiqueta, &tEtiqueta, &mEtiqueta},
                                  std::tuple{&fuentes, &tFuentes, &mFuentes}}) {
            const Arranque a = Lanzar(path, *argv);
            if (a.segundos < 0) {
                std::printf("start-up: %s never reported ready\n", argv->front().constData());
                qunsetenv("VELMORANTA_AVISAR_LISTO");
                return;
            }
            t->push_back(a.segundos);
            m->push_back(static_cast<double>(a.picoKiB));
        }
    }
    qunsetenv("VELMORANTA_AVISAR_LISTO");
    const double programaS = Mediana(tPrograma);
    const double vaciaS = Mediana(tVacia);
    Report("start-to-ready, program with 5000 records", programaS);
    Report("start-to-ready, empty Qt window", vaciaS);
    ReportRatio("start-to-ready, program / empty window", programaS / vaciaS, 1.6);
    const double etiquetaS = Mediana(tEtiqueta);
    Report("start-to-ready, window with one label", etiquetaS);
    std::printf("%-48s        %9.2f x\n", "start-to-ready, one label / empty window",
                etiquetaS / vaciaS);
    const double fuentesS = Mediana(tFuentes);
    Report("start-to-ready, a label in each first-page face", fuentesS);
    std::printf("%-48s        %9.2f x\n", "start-to-ready, those faces / empty window",
                fuentesS / vaciaS);
    const double programaM = Mediana(mPrograma);
    const double vaciaM = Mediana(mVacia);
    std::printf("%-48s        %9.1f MiB\n", "peak memory, program with 5000 records",
                programaM / 1024);
    std::printf("%-48s        %9.1f MiB\n", "peak memory, empty Qt window", vaciaM / 1024);
    ReportRatio("peak memory, program / empty window", programaM / vaciaM, 1.3);
    std::printf("%-48s        %9.2f x\n", "peak memory, one label / empty window",
                Mediana(mEtiqueta) / vaciaM);
    std::printf("%-48s        %9.2f x\n", "peak memory, those faces / empty window",
                Mediana(mFuentes) / vaciaM);
}
