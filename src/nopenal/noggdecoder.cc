//------------------------------------------------------------------------------
//  noggdecoder.cc
//------------------------------------------------------------------------------
#include "nopenal/noggdecoder.h"
#include "kernel/ntypes.h"

#include <cstdlib>

nOggDecoder::~nOggDecoder()
{
    free(this->data);
}

/*
 * ResultName --
 *     Results: the symbolic name of a vorbisfile result, "..." for one
 *     that has none.
 */
const char* nOggDecoder::ResultName(long long result)
{
    switch (result)
    {
        case OV_FALSE: return "OV_FALSE";
        case OV_HOLE: return "OV_HOLE";
        case OV_EREAD: return "OV_EREAD";
        case OV_EFAULT: return "OV_EFAULT";
        case OV_EIMPL: return "OV_EIMPL";
        case OV_EINVAL: return "OV_EINVAL";
        case OV_ENOTVORBIS: return "OV_ENOTVORBIS";
        case OV_EBADHEADER: return "OV_EBADHEADER";
        case OV_EVERSION: return "OV_EVERSION";
        case OV_EBADLINK: return "OV_EBADLINK";
        case OV_ENOSEEK: return "OV_ENOSEEK";
        default: return "...";
    }
}

/*
 * SameChannelsInAllLinks --
 *     Results: true when every link of a chained stream has the given
 *     number of channels, so one sample format holds the whole buffer.
 */
static bool SameChannelsInAllLinks(OggVorbis_File* vf, int channels)
{
    const long links = ov_streams(vf);
    for (long i = 0; i < links; i++)
    {
        const vorbis_info* info = ov_info(vf, (int)i);
        if (!info || info->channels != channels) return false;
    }
    return true;
}

/*
 * Decode --
 *     Results: true when the stream held 1 or 2 channels and decoded
 *     without an error; the samples are then in GetData/GetSize.
 *     Side effects: prints "OggVorbis error: ..." with the name on any
 *     failure. The data source is left open: its owner closes it.
 */
bool nOggDecoder::Decode(void* dataSource, const ov_callbacks& callbacks, const char* name)
{
    ov_callbacks cb = callbacks;
    cb.close_func = nullptr;
    OggVorbis_File vf;
    const int openResult = ov_open_callbacks(dataSource, &vf, nullptr, 0, cb);
    if (openResult < 0)
    {
        n_printf("OggVorbis error: ov_open_callbacks() said %s for '%s'\n", ResultName(openResult), name);
        return false;
    }
    bool ok = false;
    const ogg_int64_t total = ov_pcm_total(&vf, -1);
    const vorbis_info* info = ov_info(&vf, -1);
    if (total < 0)
    {
        n_printf("OggVorbis error: ov_pcm_total() said %s for '%s'\n", ResultName(total), name);
    }
    else if (!info || info->channels < 1 || info->channels > 2 || !SameChannelsInAllLinks(&vf, info->channels))
    {
        n_printf("OggVorbis error: '%s' has %d channels, only 1 or 2 can be played\n", name, info ? info->channels : 0);
    }
    else if (info->rate <= 0 || info->rate > 192000)
    {
        n_printf("OggVorbis error: '%s' has the sample rate %ld\n", name, info->rate);
    }
    else if (0 == total || total > MaxBytes / (info->channels * 2))
    {
        n_printf("OggVorbis error: '%s' announces %lld samples, not between 1 and %lld\n", name, (long long)total,
                 MaxBytes / (info->channels * 2));
    }
    else
    {
        this->channels = info->channels;
        this->rate = (int)info->rate;
        this->capacity = (int)(total * this->channels * 2);
        free(this->data);
        this->data = static_cast<char*>(malloc(this->capacity));
        ok = this->data && this->DecodeAll(&vf, name);
    }
    ov_clear(&vf);
    return ok;
}

/*
 * DecodeAll --
 *     Results: true unless the stream broke off with an error or held
 *     too many holes, or nothing could be decoded.
 *     Side effects: fills the buffer with what ov_read gives until it is
 *     full or the stream ends; size counts whole frames decoded.
 */
bool nOggDecoder::DecodeAll(OggVorbis_File* vf, const char* name)
{
    int pos = 0;
    int holes = 0;
    int section = 0;
    while (pos < this->capacity)
    {
        const long got = ov_read(vf, this->data + pos, this->capacity - pos, 0, 2, 1, &section);
        if (0 == got)
        {
            break;
        }
        if (got > 0)
        {
            pos += (int)got;
            continue;
        }
        if (OV_HOLE != got || ++holes > MaxHoles)
        {
            n_printf("OggVorbis error: ov_read() said %s for '%s'\n", ResultName(got), name);
            return false;
        }
    }
    const int frameBytes = this->channels * 2;
    this->size = pos - pos % frameBytes;
    if (0 == this->size)
    {
        n_printf("OggVorbis error: '%s' holds no samples\n", name);
        return false;
    }
    return true;
}
