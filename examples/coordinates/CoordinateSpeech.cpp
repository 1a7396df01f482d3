// The read-aloud program: found on the PATH, started detached so that no child is left to reap.
#include "examples/coordinates/CoordinateSpeech.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace coordinates {

namespace {

constexpr const char* kProgram = "espeak-ng";

} // namespace

bool SpeechAvailable()
{
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        const std::string candidate = std::string(folder.empty() ? "." : folder) + "/" + kProgram;
        if (::access(candidate.c_str(), X_OK) == 0)
            return true;
        if (colon == std::string_view::npos)
            return false;
        rest.remove_prefix(colon + 1);
    }
}

bool Speak(const std::string& text)
{
    // The arguments are made before the fork: the child only calls what is safe after it.
    const char* const argv[] = {kProgram, "-v", "ja", "--", text.c_str(), nullptr};
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        // The grandchild speaks; the child ends at once, so the program the editor waits for
        // is gone and the speaker is nobody's to reap.
        if (::fork() == 0) {
            // Whatever it says of itself (no sound device, say) would land on the editor's screen.
            const int nothing = ::open("/dev/null", O_RDWR);
            if (nothing >= 0)
                for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
                    ::dup2(nothing, stream);
            ::execvp(kProgram, const_cast<char* const*>(argv));
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace coordinates
