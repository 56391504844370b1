#include "host/forms/Shell.h"

#include "host/forms/HostServices.h"
#include "host/platform/IniDocument.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvane::forms {

namespace {

ShellLauncher& InstalledLauncher()
{
    static ShellLauncher launcher;
    return launcher;
}

// Starts the program detached: a middle process starts a new session, forks the
// program and ends at once, so the program belongs to init and never becomes our
// zombie, and a terminal closing does not take it down.
void LaunchDetached(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return;
    // Everything the children touch is made before fork: only async-signal-safe calls follow.
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t middle = fork();
    if (middle < 0)
        return;
    if (middle == 0) {
        setsid();
        pid_t program = fork();
        if (program == 0) {
            int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, STDIN_FILENO);
                dup2(null, STDOUT_FILENO);
                dup2(null, STDERR_FILENO);
                if (null > STDERR_FILENO)
                    close(null);
            }
            execvp(argv[0], argv.data());
            _exit(127);
        }
        _exit(program < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

std::vector<std::string> ShellArguments(const std::string& commandLine)
{
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty())
        return {};
    if (platform::EqualsIgnoringCase(words.front(), "explorer")) {
        if (words.size() < 2)
            return {};
        // The address is the rest of the line: it may hold spaces when it is not quoted.
        std::string address = words[1];
        for (std::size_t i = 2; i < words.size(); ++i)
            address += " " + words[i];
        return { "xdg-open", address };
    }
    return words;
}

void SetShellLauncher(ShellLauncher launcher) { InstalledLauncher() = std::move(launcher); }

void Shell(const std::string& commandLine, int windowStyle)
{
    if (InstalledLauncher()) {
        InstalledLauncher()(commandLine, windowStyle);
        return;
    }
    LaunchDetached(ShellArguments(commandLine));
}

} // namespace korvane::forms
