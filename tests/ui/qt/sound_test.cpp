// Sound output: each call returns at once and starts a playback of its own; a bad WAVE plays
// nothing; without a usable device every call still returns and nothing else happens. The
// device depends on SDL_AUDIODRIVER, so ctest runs each suite in a process of its own.
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "qt_fixture.h"

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
