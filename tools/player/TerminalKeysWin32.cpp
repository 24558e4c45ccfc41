#include "tools/player/TerminalKeys.h"

#include <conio.h>
#include <cstdio>
#include <io.h>

namespace tpm
{
struct TerminalKeys::Saved
{
};

TerminalKeys::TerminalKeys()
{
    // _getch reads the console without echo; there is nothing to switch.
    if (_isatty(_fileno(stdin)))
        saved = std::make_unique<Saved>();
}

TerminalKeys::~TerminalKeys() = default;

TerminalKeys::Key TerminalKeys::Take()
{
    while (saved && _kbhit())
    {
        const int c = _getch();
        if (c == 0 || c == 0xE0) // an arrow or function key: its code follows
        {
            const int code = _getch();
            if (code == 'K' || code == 'H') // left, up
                return Key::PreviousProgram;
            if (code == 'M' || code == 'P') // right, down
                return Key::NextProgram;
            continue;
        }
        if (const Key letter = FromLetter(c); letter != Key::None)
            return letter;
    }
    return Key::None;
}
} // namespace tpm
