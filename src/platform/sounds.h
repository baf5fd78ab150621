// The program's two sounds: the confirmation "ping" after a save and an added item, and the
// alert for refused input. Without an audio device both are silently nothing.
#pragma once

#include <string>

namespace quantora {

class Sounds {
  public:
    virtual ~Sounds() = default;
    // Plays ping.wav from the program folder and returns when it has finished.
    virtual void PlayPing() = 0;
    // Starts the desktop sound theme's alert and returns at once.
    virtual void PlayAsterisk() = 0;
};

// The sounds through libcanberra. A ping never holds the program up for more than a few
// seconds, whatever the sound system does.
class DesktopSounds : public Sounds {
  public:
    explicit DesktopSounds(std::string programFolder);
    ~DesktopSounds() override;
    void PlayPing() override;
    void PlayAsterisk() override;

  private:
    std::string pingPath_;
    struct Context;
    Context* context_ = nullptr;
};

}  // namespace quantora
