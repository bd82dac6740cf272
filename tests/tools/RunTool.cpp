#include "RunTool.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <map>

extern char** environ;

namespace testsupport {

namespace {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        vars[entry.substr(0, entry.find('='))] = entry;
    }
    for (const std::string& entry : overrides) {
        if (entry.find('=') == std::string::npos)
            vars.erase(entry);
        else
            vars[entry.substr(0, entry.find('='))] = entry;
    }
    std::vector<std::string> merged;
    for (auto& [name, entry] : vars)
        merged.push_back(entry);
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

// The program with its standard output on `outWrite`, read back from
// `outRead`; both are closed here.
ToolRun Spawn(const std::string& program, const std::vector<std::string>& args,
              const std::vector<std::string>& env, int outRead, int outWrite) {
    int outPipe[2] = {outRead, outWrite}, errPipe[2];
    if (pipe2(errPipe, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = MergedEnvironment(env);
    auto argvPointers = Pointers(argv);
    auto envPointers = Pointers(envp);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argvPointers.data(),
                                    envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);

    ToolRun run;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (spawned == 0 && open > 0) {
        if (poll(fds, 2, -1) < 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    return run;
}

} // namespace

ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env) {
    int outPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0)
        return {};
    return Spawn(program, args, env, outPipe[0], outPipe[1]);
}

ToolRun RunToolOnTerminal(const std::vector<std::string>& args,
                          const std::vector<std::string>& env) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return {};
    const int slave = open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        return {};
    return Spawn(RHYTHMORA_TOOL, args, env, master, slave);
}

ToolRun RunTool(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    return RunProgram(RHYTHMORA_TOOL, args, env);
}

} // namespace testsupport
