// Which of RtAudio's audio systems the player opens. RtAudio's WASAPI stream thread builds a Media
// Foundation resampler for every stream and uses it unchecked, so where none can be made (Wine without
// GStreamer's base plug-ins) it crashes; and it gives up where the system cannot tell its engine period
// (Wine). There the Windows build opens DirectSound instead.
#pragma once

#include <RtAudio.h>
#include <string>

namespace tpm
{
// The system to open (UNSPECIFIED: RtAudio's own pick); `note` says why when it passes one over.
RtAudio::Api ChooseAudioSystem(std::string& note);
} // namespace tpm
