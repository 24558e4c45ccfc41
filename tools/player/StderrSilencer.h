// Keeps the audio libraries' own diagnostics (ALSA, JACK and PulseAudio print to stderr while
// probing) off the terminal for as long as it lives; the player reports failures in its own words.
#pragma once

namespace tpm
{
class StderrSilencer
{
  public:
    StderrSilencer();
    ~StderrSilencer();
    StderrSilencer(const StderrSilencer&) = delete;
    StderrSilencer& operator=(const StderrSilencer&) = delete;

  private:
    int saved = -1;
};
} // namespace tpm
