#include "tools/hostkit/SndfileAudioWriter.h"

#include "tools/hostkit/SndfileErrorText.h"

#include <cmath>

namespace tpm
{
std::unique_ptr<AudioWriter> SndfileAudioWriter::Create(const std::string& path, int format, int channels,
                                                        int rate, std::string& error)
{
    std::unique_ptr<SndfileAudioWriter> writer(new SndfileAudioWriter);
    if (!writer->file.Open(path, error))
        return nullptr;
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = rate;
    info.format = format;
    writer->sound = sf_open_fd(writer->file.Descriptor(), SFM_WRITE, &info, SF_FALSE);
    if (!writer->sound)
    {
        error = writer->file.Failure(SndfileErrorText(sf_strerror(nullptr)));
        return nullptr;
    }
    // The optional PEAK chunk would cost a scan of every sample written, as much as the rest of
    // the writing; readers do without it.
    sf_command(writer->sound, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    // Our own clipping below decides; this only keeps libsndfile from wrapping anything left over.
    sf_command(writer->sound, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    writer->channels = channels;
    const int subtype = format & SF_FORMAT_SUBMASK;
    writer->wholeNumbers = subtype != SF_FORMAT_FLOAT && subtype != SF_FORMAT_DOUBLE;
    return writer;
}

SndfileAudioWriter::~SndfileAudioWriter()
{
    if (sound)
        sf_close(sound);
}

bool SndfileAudioWriter::Write(const float* interleaved, long long frames, std::string& error)
{
    const float* data = interleaved;
    if (wholeNumbers)
    {
        // The largest value below full scale a 24-bit sample holds; NaN becomes silence.
        constexpr float kTop = 8388607.0f / 8388608.0f;
        clippedCopy.assign(interleaved, interleaved + frames * channels);
        for (float& s : clippedCopy)
        {
            if (s <= kTop && s >= -1.0f)
                continue;
            ++clipped;
            if (std::isnan(s))
                s = 0.0f;
            else
            {
                peak = std::fmax(peak, std::fabs(s));
                s = s > 0.0f ? kTop : -1.0f;
            }
        }
        data = clippedCopy.data();
    }
    if (sf_writef_float(sound, data, frames) != frames)
    {
        error = file.Failure(SndfileErrorText(sf_strerror(sound)));
        return false;
    }
    return true;
}

bool SndfileAudioWriter::Finish(std::string& error)
{
    sf_write_sync(sound);
    const int failure = sf_error(sound);
    const int closed = sf_close(sound);
    sound = nullptr;
    if (failure != SF_ERR_NO_ERROR || closed != 0)
    {
        error =
            file.Failure(SndfileErrorText(sf_error_number(failure != SF_ERR_NO_ERROR ? failure : closed)));
        return false;
    }
    return file.Commit(error);
}
} // namespace tpm
