#include "bench_run.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace bench {

namespace {

// Reads both pipes to their end (the program writes its progress continuously).
void ReadAll(int outFd, int errFd, std::string& out, std::string& err) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    int open = 2;
    char buffer[8192];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) break;
        for (pollfd& p : fds) {
            if (p.fd < 0 || (p.revents & (POLLIN | POLLHUP)) == 0) continue;
            const ssize_t n = read(p.fd, buffer, sizeof buffer);
            if (n > 0) {
                (p.fd == outFd ? out : err).append(buffer, static_cast<std::size_t>(n));
            } else {
                close(p.fd);
                p.fd = -1;
                --open;
            }
        }
    }
}

// The rows of the result table: "Paso Tabla Resultado Filas Segundos".
std::vector<StepFigures> ParseTable(const std::string& out) {
    std::vector<StepFigures> steps;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        StepFigures f;
        if (fields >> f.step >> f.table >> f.outcome >> f.rows >> f.seconds) steps.push_back(f);
    }
    return steps;
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::string& dbPath,
                      const std::string& fiscalYear) {
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    const std::string params =
        "@Server=local;@DbName=" + dbPath + ";@Usuario=admin;@Password=;@UsuarioLogeado=admin;";
    std::vector<std::string> args = {program,    "--batch", "--fiscal-year",
                                     fiscalYear, "--yes",   params};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::string regional = "DEPURACIONES_REGIONAL=DMY,/,.,,";
    std::vector<char*> env = {regional.data()};
    for (char** e = environ; *e != nullptr; ++e) env.push_back(*e);
    env.push_back(nullptr);

    ProgramRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (rc != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        throw std::runtime_error("no se pudo iniciar " + program);
    }
    ReadAll(outPipe[0], errPipe[0], run.out, run.err);
    int status = 0;
    waitpid(pid, &status, 0);
    run.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    run.peakRssKb = usage.ru_maxrss;
    run.steps = ParseTable(run.out);
    return run;
}

}  // namespace bench
