// Sound output: each call returns at once and starts a playback of its own; a bad WAVE plays
// nothing; without a usable device every call still returns and nothing else happens. The
// device depends on SDL_AUDIODRIVER, so ctest runs each suite in a process of its own.
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "qt_fixture.h"
#include "tests/ui/media/builders.h"

namespace wt::test {
namespace {

using Clock = std::chrono::steady_clock;
// "At once": far below the length of the shortest sound (0.6 s), with room for a loaded machine.
constexpr double kPromptMs = 250.0;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TEST(SoundDevice, CallsReturnAtOnceAndSoundsPlayTogether) {
    qt::SoundOutput sound;
    ASSERT_TRUE(sound.available()) << "SDL_AUDIODRIVER=dummy expected";
    const MediaRef start1 = media::blob(media::Role::StartSound1);  // 2.05 s
    const MediaRef start2 = media::blob(media::Role::StartSound2);  // 6.01 s
    sound.play(start1);                                             // loads and caches the chunk
    ASSERT_EQ(sound.playing(), 1);

    const auto t0 = Clock::now();
    sound.play(start1);
    sound.play(start2);
    EXPECT_LT(msSince(t0), kPromptMs);
    // The first playback goes on beside the two new ones.
    EXPECT_EQ(sound.playing(), 3);
}

// Every sample format plays for its whole length, whether it is played from the file's own bytes
// (the device's format), converted (other rates, channels and widths) or left to the mixer's
// loader (24 bits): a one-second sound still plays after 0.6 s and has ended after 3 s.
TEST(SoundDevice, EveryFormatPlaysItsWholeLength) {
    qt::SoundOutput sound;
    ASSERT_TRUE(sound.available());
    struct Row {
        int channels, rate, bits;
    } rows[] = {{2, 48000, 16}, {2, 44100, 16}, {1, 11025, 8}, {1, 48000, 32}, {2, 22050, 24}};
    std::vector<testing::Bytes> blobs;
    for (const Row& r : rows) {
        testing::Bytes samples(static_cast<std::size_t>(r.rate * r.channels * r.bits / 8), 0);
        for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = std::uint8_t(i * 7);
        testing::Bytes chunks;
        testing::riffChunk(chunks, "fmt ", testing::waveFmt(1, r.channels, r.rate, r.bits));
        testing::riffChunk(chunks, "data", samples);
        const testing::Bytes file = testing::riff(chunks);
        testing::Bytes blob;
        testing::le32(blob, 1);
        testing::le32(blob, std::uint32_t(file.size()));
        blob.insert(blob.end(), file.begin(), file.end());
        blobs.push_back(std::move(blob));
    }
    const auto t0 = Clock::now();
    for (const testing::Bytes& b : blobs) sound.play({b.data(), b.size()});
    std::this_thread::sleep_until(t0 + std::chrono::milliseconds(600));
    EXPECT_EQ(sound.playing(), static_cast<int>(std::size(rows)));
    std::this_thread::sleep_until(t0 + std::chrono::seconds(3));
    EXPECT_EQ(sound.playing(), 0);
}

TEST(SoundDevice, InvalidWavePlaysNothing) {
    qt::SoundOutput sound;
    ASSERT_TRUE(sound.available());
    const std::uint8_t notWave[] = {1, 0, 0, 0, 8, 0, 0, 0, 'R', 'I', 'F', 'F', 0, 0, 0, 0};
    sound.play({notWave, sizeof notWave});
    sound.play(media::blob(media::Role::MotorForward));  // a GIF
    sound.play({});
    EXPECT_EQ(sound.playing(), 0);
}

// Without a device the output says so once on stderr, whatever the number of sounds.
TEST(SoundNoDevice, CallsReturnAndNothingHappens) {
    qt::SoundOutput sound;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(sound.available());
    const auto t0 = Clock::now();
    for (int i = 0; i < 10; ++i) sound.play(media::blob(media::Role::SwitchCloseSound));
    EXPECT_LT(msSince(t0), kPromptMs);
    EXPECT_EQ(sound.playing(), 0);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("wiring-trainer: no audio device"), std::string::npos) << said;
}

TEST(SoundNoDevice, PlatformGoesOnWithoutSound) {
    qt::QtPlatform platform;
    platform.sound().openInBackground();
    platform.playSound(media::blob(media::Role::StopSound1));
    platform.playSound(media::blob(media::Role::StopSound2));
    EXPECT_FALSE(platform.sound().available());
}

TEST(SoundThreads, CallsFromSeveralThreadsAtOnce) {
    qt::SoundOutput sound;
    sound.openInBackground();
    const media::Role roles[] = {media::Role::SwitchCloseSound, media::Role::SwitchOpenSound,
                                 media::Role::StopSound1, media::Role::StopSound2};
    std::vector<std::thread> threads;
    for (media::Role role : roles)
        threads.emplace_back([&sound, role] {
            for (int i = 0; i < 4; ++i) sound.play(media::blob(role));
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(sound.playing(), qt::SoundOutput::kChannels);
}

}  // namespace
}  // namespace wt::test
