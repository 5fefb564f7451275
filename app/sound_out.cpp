#include "app/sound_out.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <dlfcn.h>

#include "sound/synth.h"

namespace {

constexpr int DeviceBuffer = 512;
constexpr std::size_t MostVoices = 12;  // the oldest goes when more play at once

void Quiet(const char*, int, const char*, int, const char*, ...) {}

// ALSA prints its own complaints on a machine without a sound card when SDL
// asks it for a device: a handler of our own keeps them quiet. SDL loads
// ALSA itself; it shares the library loaded here.
void SilenceAlsa()
{
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(&Quiet);
}

// An empty audio format record of the type SDL_OpenAudioDevice asks for and
// answers in.
template <typename Format>
Format EmptyFormat(SDL_AudioDeviceID (*)(const char*, int, const Format*, Format*, int))
{
    return Format{};
}

}  // namespace

SoundOut::SoundOut(const SoundBank& bank, Options options) : bank_(bank), options_(options)
{
    SilenceAlsa();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // a stop signal ends the game as it always did
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "burrowkin: no sound: %s\n", SDL_GetError());
        return;
    }
    auto want = EmptyFormat(&SDL_OpenAudioDevice);
    auto have = want;
    want.freq = SampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = DeviceBuffer;
    want.callback = &SoundOut::Fill;
    want.userdata = this;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        std::fprintf(stderr, "burrowkin: no sound: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    bufferSamples_ = have.samples;
    SDL_PauseAudioDevice(device_, 0);
}

SoundOut::~SoundOut()
{
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundOut::Play(int sound)
{
    if (device_ == 0 || !options_.on || sound < 0 || std::size_t(sound) >= bank_.Sounds().size()) return;
    const Sound& s = bank_.Sounds()[std::size_t(sound)];
    if (s.music && !options_.music) return;
    SDL_LockAudioDevice(device_);
    if (s.music) std::erase_if(voices_, [](const Voice& v) { return v.sound->music; });
    if (voices_.size() >= MostVoices) voices_.erase(voices_.begin());
    voices_.push_back({&s, 0});
    SDL_UnlockAudioDevice(device_);
}

int SoundOut::Playing() const
{
    if (device_ == 0) return 0;
    SDL_LockAudioDevice(device_);
    const int playing = int(voices_.size());
    SDL_UnlockAudioDevice(device_);
    return playing;
}

void SoundOut::StopMusic()
{
    if (device_ == 0) return;
    SDL_LockAudioDevice(device_);
    std::erase_if(voices_, [](const Voice& v) { return v.sound->music; });
    SDL_UnlockAudioDevice(device_);
}

void SoundOut::Toggle()
{
    options_.on = !options_.on;
    if (device_ == 0) return;
    SDL_LockAudioDevice(device_);
    voices_.clear();
    SDL_UnlockAudioDevice(device_);
}

void SoundOut::Fill(void* self, std::uint8_t* stream, int bytes)
{
    static_cast<SoundOut*>(self)->Mix(reinterpret_cast<std::int16_t*>(stream), bytes / 2);
}

// On the device's own thread, with the lock held.
void SoundOut::Mix(std::int16_t* out, int samples)
{
    const int gain = options_.volume * 256 / 100;  // of 256
    for (int i = 0; i < samples; ++i) {
        int sum = 0;
        for (Voice& v : voices_)
            if (v.at < v.sound->samples.size()) sum += v.sound->samples[v.at++];
        out[i] = std::int16_t(std::clamp(sum * gain / 256, -32767, 32767));
    }
    std::erase_if(voices_, [](const Voice& v) { return v.at >= v.sound->samples.size(); });
}
