#include "tools/vsthost/PlayerControls.h"

#include "tools/vsthost/Commands.h"

#include <cstdio>

namespace tpm
{
PlayerControls::PlayerControls(HostedInstance& plugin, const PlaybackRenderer& renderer)
    : plugin(plugin), renderer(renderer)
{
}

std::vector<std::string> PlayerControls::ProgramNames(HostedInstance& plugin)
{
    std::vector<std::string> names;
    for (int i = 0; i < plugin.ProgramCount(); ++i)
    {
        const std::string name = plugin.ProgramName(i);
        names.push_back(name.empty() ? "Program " + std::to_string(i) : name);
    }
    return names;
}

void PlayerControls::FollowWindow(HostWindow& window)
{
    const int chosen = window.TakeProgramChoice();
    if (chosen >= 0 && chosen < plugin.ProgramCount())
        plugin.SelectProgram(chosen);
    const int current = plugin.CurrentProgram();
    if (current != shownProgram)
    {
        window.ShowProgram(current, ProgramName());
        shownProgram = current;
    }
}

bool PlayerControls::FollowKeys()
{
    if (!keys)
        keys = std::make_unique<TerminalKeys>();
    for (TerminalKeys::Key key; (key = keys->Take()) != TerminalKeys::Key::None;)
    {
        if (key == TerminalKeys::Key::Quit)
            return true;
        StepProgram(key == TerminalKeys::Key::NextProgram ? 1 : -1);
    }
    return false;
}

std::string PlayerControls::ClockTime(double seconds)
{
    const auto whole = static_cast<long long>(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    return text;
}

void PlayerControls::ShowStatus(double seconds)
{
    std::string line =
        ClockTime(seconds) + "  program " + std::to_string(plugin.CurrentProgram()) + ": " + ProgramName();
    if (renderer.ClippedSamples() > 0)
        line += "  clipping: " + std::to_string(renderer.ClippedSamples()) + " samples, peak " +
                PeakText(renderer.Peak());
    const std::size_t width = line.size();
    line.append(statusWidth > width ? statusWidth - width : 0, ' ');
    statusWidth = width;
    std::fprintf(stderr, "\r%s", line.c_str());
    std::fflush(stderr);
}

std::string PlayerControls::ProgramName()
{
    return plugin.CurrentProgramName();
}

void PlayerControls::StepProgram(int step)
{
    const int count = plugin.ProgramCount();
    if (count < 1)
        return;
    const int current = plugin.CurrentProgram();
    plugin.SelectProgram(((current + step) % count + count) % count);
}
} // namespace tpm
