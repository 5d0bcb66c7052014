#include "adapters/sound/MixerSoundBackend.h"

#include "adapters/sound/AudioOutput.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace {

// Eight sound slots and the loop, with room to spare.
constexpr int ChannelCount = 16;
// The loop's channel, kept out of the mixer's choice of a free channel.
constexpr int LoopChannel = 0;

class MixerSound : public DecodedSound {
public:
    explicit MixerSound(Mix_Chunk *chunk) : chunk(chunk) {}
    ~MixerSound() override { Mix_FreeChunk(chunk); }
    MixerSound(const MixerSound &) = delete;
    MixerSound &operator=(const MixerSound &) = delete;
    Mix_Chunk *const chunk;
};

} // namespace

MixerSoundBackend::MixerSoundBackend() : m_open(audioOutput().isOpen())
{
    if (!m_open)
        return;
    const int channels = Mix_AllocateChannels(ChannelCount);
    m_channels.resize(size_t(std::max(channels, 0)));
    Mix_ReserveChannels(LoopChannel + 1);
}

MixerSoundBackend::~MixerSoundBackend()
{
    for (size_t c = 0; c < m_channels.size(); ++c)
        if (m_channels[c].sound)
            Mix_HaltChannel(int(c));
    m_channels.clear();
}

std::shared_ptr<const DecodedSound> MixerSoundBackend::decode(const QByteArray &bytes, const QString &)
{
    if (!m_open || bytes.isEmpty())
        return nullptr;
    SDL_RWops *source = SDL_RWFromConstMem(bytes.constData(), int(bytes.size()));
    if (!source)
        return nullptr;
    Mix_Chunk *chunk = Mix_LoadWAV_RW(source, 1);
    if (!chunk)
        return nullptr;
    return std::make_shared<MixerSound>(chunk);
}

int MixerSoundBackend::play(const std::shared_ptr<const DecodedSound> &sound, bool loop)
{
    const auto *mixer = dynamic_cast<const MixerSound *>(sound.get());
    if (!m_open || !mixer)
        return -1;
    if (loop)
        Mix_HaltChannel(LoopChannel);
    const int channel = Mix_PlayChannel(loop ? LoopChannel : -1, mixer->chunk, loop ? -1 : 0);
    if (channel < 0 || size_t(channel) >= m_channels.size())
        return -1;
    m_channels[size_t(channel)] = Channel{++m_nextVoice, sound};
    return m_nextVoice;
}

void MixerSoundBackend::halt(int voice)
{
    const int channel = channelOf(voice);
    if (channel < 0)
        return;
    Mix_HaltChannel(channel);
    m_channels[size_t(channel)] = Channel{};
}

bool MixerSoundBackend::playing(int voice)
{
    const int channel = channelOf(voice);
    return channel >= 0 && Mix_Playing(channel) != 0;
}

int MixerSoundBackend::channelOf(int voice) const
{
    if (voice < 0)
        return -1;
    for (size_t c = 0; c < m_channels.size(); ++c)
        if (m_channels[c].voice == voice)
            return int(c);
    return -1;
}

void useMixerSound()
{
    setProgramSoundBackend([] { return std::make_unique<MixerSoundBackend>(); });
}
