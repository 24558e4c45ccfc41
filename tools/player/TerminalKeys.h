// Keys pressed in the terminal the player runs in, read without waiting and without echo, so that
// typing neither blocks playback nor writes over the status line. Ctrl-C keeps its signal. Does
// nothing where input is not a terminal or the player runs in the background.
#pragma once

#include <memory>

namespace tpm
{
class TerminalKeys
{
  public:
    enum class Key
    {
        None,
        NextProgram,     // n, right or down arrow
        PreviousProgram, // p, left or up arrow
        Quit             // q
    };

    TerminalKeys();
    ~TerminalKeys(); // gives the terminal back as it was
    TerminalKeys(const TerminalKeys&) = delete;
    TerminalKeys& operator=(const TerminalKeys&) = delete;

    // The next key waiting, or None.
    Key Take();

  private:
    // The key a letter stands for, in either case; None for any other.
    static Key FromLetter(int c)
    {
        switch (c | 0x20) // lower case
        {
        case 'n':
            return Key::NextProgram;
        case 'p':
            return Key::PreviousProgram;
        case 'q':
            return Key::Quit;
        default:
            return Key::None;
        }
    }

    struct Saved; // the terminal's settings before
    std::unique_ptr<Saved> saved;
};
} // namespace tpm
