// What the user sees and does while `play` plays, on the main thread: the window's program bar kept
// on the plug-in's program and its picks passed on, the terminal's program keys, and the status
// line. Program changes reach the plug-in from here, never from the audio thread.
#pragma once

#include "tools/hostkit/HostedInstance.h"
#include "tools/player/PlaybackRenderer.h"
#include "tools/player/TerminalKeys.h"
#include "tools/vsthost/HostWindow.h"

#include <memory>
#include <string>
#include <vector>

namespace tpm
{
class PlayerControls
{
  public:
    PlayerControls(HostedInstance& plugin, const PlaybackRenderer& renderer);

    // Seconds as h:mm:ss.
    static std::string ClockTime(double seconds);
    // Every program's name, for the window's program bar.
    static std::vector<std::string> ProgramNames(HostedInstance& plugin);

    // The bar: the user's pick to the plug-in, the plug-in's program (whoever changed it) to the bar.
    void FollowWindow(HostWindow& window);
    // The terminal's keys (taken from the first call on); true when one asks to stop.
    bool FollowKeys();
    // Elapsed time, the current program (its whole name) and any clipping, rewritten in place.
    void ShowStatus(double seconds);

  private:
    std::string ProgramName();
    void StepProgram(int step);

    HostedInstance& plugin;
    const PlaybackRenderer& renderer;
    std::unique_ptr<TerminalKeys> keys;
    int shownProgram = -1;
    std::size_t statusWidth = 0; // of the last status line, to blank out what a shorter one leaves
};
} // namespace tpm
