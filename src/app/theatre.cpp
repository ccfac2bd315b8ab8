#include "app/theatre.h"

#include <algorithm>

#include "game/tz_globals.h"
#include "game/tz_main.h"
#include "game/tz_outlet.h"

namespace app {

std::int64_t TTheatre::KeyframeStep(std::int64_t k) const { return k == 0 ? firstStep_ : k * KeyframeInterval; }

TTheatre::TTheatre(tz::TForm1& form, std::int64_t maxSteps)
    : form_(form), frames_(static_cast<std::size_t>(std::max<std::int64_t>(maxSteps, 1) / KeyframeInterval + 1)) {
    // A seek across a scene's set-up runs it again: its pictures are read from their files
    // once.
    form_.Sprite.SetKeepPictures(true);
}

TTheatre::~TTheatre() { form_.Sprite.SetKeepPictures(false); }

void TTheatre::AfterStep(std::int64_t step) {
    // The first keyframe: the first step after the title's set-up (before it the engine is
    // still starting, with a set-up of its own to run).
    if (firstStep_ == 0) {
        const std::uint8_t scene = tz::GameState.Play.SceneState;
        if (scene == tz::Scene::NotStarted || scene == tz::Scene::TitleSetup || tz::GameState.Play.UserEventPending)
            return;
        firstStep_ = step;
    }
    const std::int64_t k = step == firstStep_ ? 0 : step % KeyframeInterval == 0 ? step / KeyframeInterval : -1;
    if (k < 0 || k > taken_ || k >= static_cast<std::int64_t>(frames_.size())) return;
    tz::SaveGameState(frames_[static_cast<std::size_t>(k)]);
    if (k == taken_) ++taken_;
}

void TTheatre::SimulateStep() {
    form_.SpriteProcess();
    // The engine runs a set-up, and the one it asks for in turn (a new game's stage), in the
    // same step.
    for (int i = 0; i < 8 && tz::GameState.Play.UserEventPending; ++i) {
        form_.SpriteUserEvent();
        ++lastSeekSetUps_;
    }
}

std::int64_t TTheatre::Seek(std::int64_t target, std::int64_t current) {
    lastSeekSteps_ = 0;
    lastSeekSetUps_ = 0;
    if (taken_ == 0) return current;
    target = std::max(target, firstStep_);
    std::int64_t k = std::min(target / KeyframeInterval, taken_ - 1);
    std::int64_t at = current;
    // Forward within reach of where the game is: play on from here.
    if (!(current <= target && current >= KeyframeStep(k))) {
        tz::RestoreGameState(frames_[static_cast<std::size_t>(k)]);
        at = KeyframeStep(k);
    }
    {
        const tz::TSilencedOutlet silenced;
        while (at < target) {
            SimulateStep();
            ++at;
            ++lastSeekSteps_;
            AfterStep(at);
        }
    }
    // The music heard follows the state reached: its piece from its place, or silence.
    tz::FollowMusic();
    return at;
}

}  // namespace app
