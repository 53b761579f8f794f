#pragma once

#include <array>
#include <memory>

class QSoundEffect;

namespace vell {

enum class GameSound { Place, Pass, End };

// The game's short sounds: a stone placed, a pass, the end of a game, from the synthesised files
// built into the program. With no audio output (a machine without sound, a test run) it stays
// silent and says nothing; so does it while switched off.
class SoundPlayer {
  public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void SetEnabled(bool on) { enabled = on; }
    bool Enabled() const { return enabled; }
    // Starts `sound`, cutting short the same sound still playing. Returns at once.
    void Play(GameSound sound);

  private:
    // Made at the first sound, and only when there is an output to play it on.
    void Load();

    bool enabled = true;
    bool loaded = false;
    std::array<std::unique_ptr<QSoundEffect>, 3> effects;
};

}  // namespace vell
