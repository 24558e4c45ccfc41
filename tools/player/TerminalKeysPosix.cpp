#include "tools/player/TerminalKeys.h"

#include <termios.h>
#include <unistd.h>

namespace tpm
{
struct TerminalKeys::Saved
{
    termios settings{};
};

TerminalKeys::TerminalKeys()
{
    // A background job that touched the terminal would be stopped by it.
    if (isatty(STDIN_FILENO) != 1 || tcgetpgrp(STDIN_FILENO) != getpgrp())
        return;
    auto before = std::make_unique<Saved>();
    if (tcgetattr(STDIN_FILENO, &before->settings) != 0)
        return;
    termios raw = before->settings;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 0; // read answers at once, with or without a key
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0)
        saved = std::move(before);
}

TerminalKeys::~TerminalKeys()
{
    if (saved)
        tcsetattr(STDIN_FILENO, TCSANOW, &saved->settings);
}

TerminalKeys::Key TerminalKeys::Take()
{
    if (!saved)
        return Key::None;
    char c = 0;
    while (read(STDIN_FILENO, &c, 1) == 1)
    {
        if (const Key letter = FromLetter(c); letter != Key::None)
            return letter;
        // Arrows arrive at once as ESC [ A..D (or ESC O A..D): up, down, right, left.
        char sequence[2] = {};
        if (c != '\x1b' || read(STDIN_FILENO, sequence, 2) != 2 || (sequence[0] != '[' && sequence[0] != 'O'))
            continue;
        if (sequence[1] == 'A' || sequence[1] == 'D')
            return Key::PreviousProgram;
        if (sequence[1] == 'B' || sequence[1] == 'C')
            return Key::NextProgram;
    }
    return Key::None;
}
} // namespace tpm
