#include "tools/hostkit/SndfileAudioReader.h"

#include "tools/hostkit/SndfileErrorText.h"

namespace tpm
{
std::unique_ptr<AudioReader> SndfileAudioReader::Open(const std::string& path, std::string& error)
{
    std::unique_ptr<SndfileAudioReader> reader(new SndfileAudioReader);
    reader->file = sf_open(path.c_str(), SFM_READ, &reader->info);
    if (!reader->file)
    {
        error = "cannot read '" + path + "': " + SndfileErrorText(sf_strerror(nullptr));
        return nullptr;
    }
    if (reader->info.channels < 1 || reader->info.samplerate < 1)
    {
        error = "cannot read '" + path + "': it has no channels or no sample rate";
        return nullptr;
    }
    reader->path = path;
    return reader;
}

SndfileAudioReader::~SndfileAudioReader()
{
    if (file)
        sf_close(file);
}

long long SndfileAudioReader::Read(float* out, long long frames, std::string& error)
{
    const sf_count_t got = sf_readf_float(file, out, frames);
    if (got == 0 && sf_error(file) != SF_ERR_NO_ERROR)
    {
        error = "cannot read '" + path + "': " + SndfileErrorText(sf_strerror(file));
        return -1;
    }
    return got;
}
} // namespace tpm
