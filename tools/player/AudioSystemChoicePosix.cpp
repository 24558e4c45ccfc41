#include "tools/player/AudioSystemChoice.h"

RtAudio::Api ChooseAudioSystem(std::string& /*note*/)
{
    return RtAudio::UNSPECIFIED; // JACK, ALSA or PulseAudio, whichever has devices
}
