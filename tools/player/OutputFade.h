// The gain that ends playback without a click: the sleep timer's long ramp over the last stretch of
// the set time, and a short ramp once the user asks to stop or a set end comes. Used on the audio
// thread only.
#pragma once

namespace tpm
{
class OutputFade
{
  public:
    // sleepFrames < 0 plays on until stopped; the ramps are at least one frame long.
    OutputFade(long long sleepFrames, long long sleepFadeFrames, long long stopFadeFrames);

    // Starts the short ramp; a second call changes nothing.
    void BeginStop();
    // Also falls silent at frame `frames` (< 0: never), over the short ramp just before it.
    void EndAt(long long frames) { endFrames = frames; }
    bool Stopping() const { return stopping; }
    // The gain for the next frame; 0 from the end of a ramp on.
    float Next();
    bool Silent() const { return silent; }

  private:
    long long sleepFrames;
    long long sleepFade;
    long long stopFade;
    long long endFrames = -1;
    long long position = 0;
    long long stopLeft = 0;
    bool stopping = false;
    bool silent = false;
};
} // namespace tpm
