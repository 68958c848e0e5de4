// The host program at a terminal, as a person drives it: the ready world,
// the prompt naming the current chat, completion, history and marks.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <set>
#include <iterator>
#include <sstream>
#include <string>

#include "Scenario.h"

namespace {

// Long enough for a loaded machine under the sanitizers; only a program
// that hangs takes this long.
constexpr std::chrono::seconds kPatience{60};

// tavi-host on a pseudo-terminal of 100 columns.
class Terminal {
public:
    explicit Terminal(const char* option) {
        winsize size{};
        size.ws_row = 50;
        size.ws_col = 100;
        m_pid = forkpty(&m_fd, nullptr, nullptr, &size);
        if (m_pid == 0) {
            setenv("TERM", "xterm", 1);
            const std::string program = std::string(TAVI_BIN_DIR) + "/tavi-host";
            if (option) execl(program.c_str(), program.c_str(), option, "-", static_cast<char*>(nullptr));
            else execl(program.c_str(), program.c_str(), "-", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Terminal() {
        if (m_pid > 0 && !m_exited) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_fd >= 0) close(m_fd);
    }

    bool Started() const { return m_pid > 0; }

    void Type(const std::string& keys) { ASSERT_EQ(write(m_fd, keys.data(), keys.size()), ssize_t(keys.size())); }

    // Reads what the program shows until the text appears after what was
    // already matched; a program that never shows it fails the test
    // instead of hanging the suite.
    bool WaitFor(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (m_screen.find(text, m_matched) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline || !ReadSome()) return false;
        }
        m_matched = m_screen.find(text, m_matched) + text.size();
        return true;
    }

    // Waits for the program to end and answers its exit status; -1 when it
    // did not end in time (or was stopped), as a program that hangs would.
    int ExitStatus() {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            const pid_t ended = waitpid(m_pid, &status, WNOHANG | WUNTRACED);
            if (ended == m_pid && WIFSTOPPED(status)) {
                m_screen += "\n[stopped by signal " + std::to_string(WSTOPSIG(status)) + "]";
                return -1;
            }
            if (ended == m_pid) {
                m_exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ReadSome();  // what it prints meanwhile must not block it
        }
        return -1;
    }

    // Ends the program with one Ctrl+D, as a person would.
    int EndWithCtrlD() {
        Type("\x04");
        return ExitStatus();
    }

    const std::string& Screen() const { return m_screen; }
    // Where the last text waited for ends on the screen.
    size_t Matched() const { return m_matched; }

    // Where a program that did not end is: its state and what the kernel
    // says it waits in, then all it showed.
    std::string Diagnosis() const {
        std::ostringstream out;
        for (const char* file : {"stat", "wchan"}) {
            std::ifstream in("/proc/" + std::to_string(m_pid) + "/" + file);
            out << file << ": " << std::string(std::istreambuf_iterator<char>(in), {}) << "\n";
        }
        out << "screen:\n" << m_screen;
        return out.str();
    }

private:
    // Waits a moment for output; false once the program's side closed.
    bool ReadSome() {
        pollfd ready{m_fd, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0) return true;
        char buffer[4096];
        const ssize_t n = read(m_fd, buffer, sizeof(buffer));
        if (n <= 0) return false;
        m_screen.append(buffer, size_t(n));
        return true;
    }

    pid_t m_pid = -1;
    int m_fd = -1;
    bool m_exited = false;
    std::string m_screen;
    size_t m_matched = 0;
};

}  // namespace

TEST(HostPrompt, StartsInTheDemosWorldWithTheChatWithBobInFront) {
    Terminal terminal(nullptr);
    if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal here";
    ASSERT_TRUE(terminal.WaitFor("You are Mia, chatting with bob")) << terminal.Screen();
    ASSERT_TRUE(terminal.WaitFor("  | bob: message 32")) << terminal.Screen();
    ASSERT_TRUE(terminal.WaitFor("bob> ")) << terminal.Screen();
    terminal.Type("> hi there\n");
    ASSERT_TRUE(terminal.WaitFor("sdk.send conv=im:bob type=text/plain body=hi there")) << terminal.Screen();
    // Keys go in once the prompt shows, as a person types them: keys typed
    // while the program is still busy are echoed by the terminal into the
    // middle of its output.
    ASSERT_TRUE(terminal.WaitFor("bob> ")) << terminal.Screen();
    terminal.Type("windows\n");
    ASSERT_TRUE(terminal.WaitFor("window group team\r\nwindow person bob *")) << terminal.Screen();
    ASSERT_TRUE(terminal.WaitFor("bob> ")) << terminal.Screen();
    EXPECT_EQ(terminal.EndWithCtrlD(), 0) << terminal.Diagnosis();
}

TEST(HostPrompt, CompletesCommandsAndPeersAndRecallsEarlierLines) {
    Terminal terminal(nullptr);
    if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal here";
    ASSERT_TRUE(terminal.WaitFor("bob> ")) << terminal.Screen();
    // "swi" completes to the command, "te" to the group's id.
    terminal.Type("swi\tte\t\n");
    ASSERT_TRUE(terminal.WaitFor("team> ")) << terminal.Screen();
    terminal.Type("fail 5\n");
    ASSERT_TRUE(terminal.WaitFor("team> ")) << terminal.Screen();
    terminal.Type("> oops\n");
    ASSERT_TRUE(terminal.WaitFor("  ! failed: mia: oops")) << terminal.Screen();
    ASSERT_TRUE(terminal.WaitFor("team> ")) << terminal.Screen();
    // Up twice brings back "fail 5"; errors leave the prompt running.
    terminal.Type("\x1b[A\x1b[A\n");
    ASSERT_TRUE(terminal.WaitFor("team> ")) << terminal.Screen();
    terminal.Type("nosuch\n");
    ASSERT_TRUE(terminal.WaitFor("error: 5: unknown command 'nosuch'")) << terminal.Screen();
    ASSERT_TRUE(terminal.WaitFor("team> ")) << terminal.Screen();
    terminal.Type("switch bob\n");
    ASSERT_TRUE(terminal.WaitFor("bob> ")) << terminal.Screen();
    terminal.Type("> again\n");
    ASSERT_TRUE(terminal.WaitFor("  ! failed: mia: again")) << terminal.Screen();
}

TEST(HostPrompt, EmptyStartsWithNothing) {
    Terminal terminal("--empty");
    if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal here";
    ASSERT_TRUE(terminal.WaitFor("an empty world")) << terminal.Screen();
    ASSERT_TRUE(terminal.WaitFor("tavi> ")) << terminal.Screen();
    terminal.Type("open person bob\n");
    ASSERT_TRUE(terminal.WaitFor("error: 1: no account yet")) << terminal.Screen();
    ASSERT_TRUE(terminal.WaitFor("tavi> ")) << terminal.Screen();
    EXPECT_EQ(terminal.EndWithCtrlD(), 0) << terminal.Diagnosis();
}

// Between two prompts the terminal is in line mode, where Ctrl+D becomes an
// end-of-input mark that the line editor reads later: the key pressed
// while the program is still starting (or busy with a command) must end
// it all the same, at the prompt that follows.
TEST(HostPrompt, CtrlDPressedWhileTheProgramIsBusyEndsItAtThePrompt) {
    Terminal terminal("--empty");
    if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal here";
    terminal.Type("\x04");
    EXPECT_EQ(terminal.ExitStatus(), 0) << terminal.Diagnosis();
    EXPECT_TRUE(terminal.WaitFor("tavi> ")) << terminal.Screen();
}

// Help fits a terminal of 100 columns by wrapping, never by cutting a
// description short.
TEST(HostPrompt, HelpWrapsLongDescriptionsWhole) {
    Terminal terminal("--empty");
    if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal here";
    ASSERT_TRUE(terminal.WaitFor("tavi> ")) << terminal.Screen();
    terminal.Type("help\n");
    ASSERT_TRUE(terminal.WaitFor("  windows ")) << terminal.Screen();
    ASSERT_TRUE(terminal.WaitFor("tavi> ")) << terminal.Screen();
    const std::string& screen = terminal.Screen();
    const std::string help = screen.substr(screen.find("help\r\n"));
    EXPECT_EQ(help.find("characters)"), std::string::npos) << help;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line, '\n');) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        EXPECT_LE(host::Columns(line), 100u) << line;
    }
    // A usage too long for its column puts its description below it.
    EXPECT_NE(help.find("  stored <peer-id> <n> read|unread [from <sender-id>]\r\n" + std::string(42, ' ') +
                        "n more messages already in the peer's conversation\r\n"),
              std::string::npos)
        << help;
    EXPECT_NE(help.find("\r\n" + std::string(42, ' ') + "DIR draws DIR/window.svg when the scenario ends\r\n"),
              std::string::npos)
        << help;
}

namespace {

// The words the line editor lists for a double Tab after `line`; the line
// is then emptied (Ctrl+U) and a mark printed, which ends the list.
std::set<std::string> Listed(Terminal& terminal, const std::string& line) {
    terminal.Type(line + "\t\t");
    if (!terminal.WaitFor(line)) return {"(no echo)"};
    const size_t from = terminal.Matched();
    terminal.Type("\x15" "echo listed\n");
    if (!terminal.WaitFor("\r\nlisted\r\n")) return {"(no mark)"};
    const size_t to = terminal.Matched();
    // As a person does, the next line is typed at the next prompt: what is
    // typed while a command still runs is not the editor's.
    if (!terminal.WaitFor("> ")) return {"(no prompt)"};
    std::istringstream shown(terminal.Screen().substr(from, to - from));
    std::set<std::string> words;
    std::string row;
    std::getline(shown, row);  // the line typed, with the bell
    while (std::getline(shown, row)) {
        if (!row.empty() && row.back() == '\r') row.pop_back();
        if (row.find('\x1b') != std::string::npos || row == "listed") continue;
        std::istringstream list(row);
        for (std::string word; list >> word;) words.insert(word);
    }
    return words;
}

}  // namespace

TEST(HostPrompt, TabListsWhatTheCommandTakesAtThatWord) {
    Terminal terminal(nullptr);
    if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal here";
    ASSERT_TRUE(terminal.WaitFor("bob> ")) << terminal.Screen();
    // A chat is opened with someone else, never with oneself...
    EXPECT_EQ(Listed(terminal, "open person "), (std::set<std::string>{"bob", "carol", "team"}));
    // ...but a group's members, repeated as often as wanted, may include the user.
    EXPECT_EQ(Listed(terminal, "group g \"G\" bob "), (std::set<std::string>{"bob", "carol", "mia", "team"}));
    // Nothing follows the last word of a command that takes no more.
    EXPECT_EQ(Listed(terminal, "open person bob "), std::set<std::string>{});
    EXPECT_EQ(terminal.EndWithCtrlD(), 0) << terminal.Diagnosis();
}

TEST(HostPrompt, TabBeforeThereIsAnAccountListsOthersOnly) {
    Terminal terminal("--empty");
    if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal here";
    ASSERT_TRUE(terminal.WaitFor("tavi> ")) << terminal.Screen();
    EXPECT_EQ(Listed(terminal, "group g \"G\" "), std::set<std::string>{});
    EXPECT_EQ(terminal.EndWithCtrlD(), 0) << terminal.Diagnosis();
}
