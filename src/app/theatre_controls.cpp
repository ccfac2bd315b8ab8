#include "app/theatre_controls.h"

#include <algorithm>
#include <mutex>

#include "app/runner.h"
#include "game/tz_gamepad.h"
#include "game/tz_globals.h"
#include "game/tz_keys.h"
#include "game/tz_main.h"
#include "game/tz_replay.h"

namespace app {
namespace {

// Keyframes for the longest playback: a game's bytes, and room beyond them (the title before
// the first, a game that goes on after its last, as a replay cut short does).
constexpr std::int64_t StepsBeyondReplay = 1000;
constexpr std::int64_t PlaybackRoom = tz::ReplayBufferSize + StepsBeyondReplay;

// While alive no tick runs, and the scene set-up the last tick asked for has run (the state
// is then the one after a whole step, as keyframes and seeks take it).
class TTicksStopped {
public:
    explicit TTicksStopped(engine::TSpriteEx& sprite) : sprite_(sprite), was_(sprite.SetPause(true)) {
        sprite_.RunUserEvents();
    }
    ~TTicksStopped() { sprite_.SetPause(was_); }
    TTicksStopped(const TTicksStopped&) = delete;
    TTicksStopped& operator=(const TTicksStopped&) = delete;

private:
    engine::TSpriteEx& sprite_;
    bool was_;
};

}  // namespace

TTheatreKey TheatreKeyOf(const plat::WindowEvent& event) {
    using plat::Key;
    using plat::PadButton;
    if (event.type == plat::WindowEventType::KeyDown) {
        if (tz::KeyBound(event.key, tz::TAction::Pause)) return TTheatreKey::Pause;
        switch (event.key) {
            case Key::Left: return event.shift ? TTheatreKey::BackLong : TTheatreKey::Back;
            case Key::Right: return event.shift ? TTheatreKey::ForwardLong : TTheatreKey::Forward;
            case Key::Home: return TTheatreKey::Start;
            case Key::End: return TTheatreKey::End;
            case Key::Comma: return TTheatreKey::StepBack;
            case Key::Period: return TTheatreKey::StepForward;
            case Key::LeftBracket: return TTheatreKey::Slower;
            case Key::RightBracket: return TTheatreKey::Faster;
            case Key::Return:
            case Key::NumpadEnter: return event.alt ? TTheatreKey::None : TTheatreKey::TakeOver;
            default: return TTheatreKey::None;
        }
    }
    if (event.type == plat::WindowEventType::PadButtonDown) {
        if (tz::PadBound(event.button, tz::TAction::Pause)) return TTheatreKey::Pause;
        switch (event.button) {
            case PadButton::DpadLeft: return TTheatreKey::Back;
            case PadButton::DpadRight: return TTheatreKey::Forward;
            case PadButton::Back: return TTheatreKey::TakeOver;
            default: return TTheatreKey::None;
        }
    }
    return TTheatreKey::None;
}

TTheatreControls::TTheatreControls(tz::TForm1& form) : form_(form) {
    form_.ReplayLoaded = [this](const std::string&) { Loaded(); };
    form_.PlaybackKeyDown = [this](const plat::WindowEvent& e) { return KeyDown(e); };
    form_.DrawPlaybackOverlay = [this] { DrawOverlay(); };
}

TTheatreControls::~TTheatreControls() {
    form_.ReplayLoaded = nullptr;
    form_.PlaybackKeyDown = nullptr;
    form_.DrawPlaybackOverlay = nullptr;
}

void TTheatreControls::Loaded() {
    // Before the replay plays: no tick runs yet.
    theatre_ = std::make_unique<TTheatre>(form_, PlaybackRoom);
    // The title's set-up, before the first tick, is step 1, as in a headless run.
    step_ = 1;
    surveyed_ = false;
    startStep_ = lastStep_ = 0;
    speed_ = NormalSpeed;
    marks_.Clear();
    form_.SetPlaybackRate(1, 1);
}

void TTheatreControls::BeforeTick() {
    if (!theatre_ || !tz::ReplayMode) return;
    // The set-up the last tick asked for has run (the engine holds the ticks until it has):
    // the state is the one after the step.
    const std::int64_t done = step_.load();
    theatre_->AfterStep(done);
    step_.store(done + 1);
}

bool TTheatreControls::Active() const {
    return theatre_ && tz::ReplayMode && theatre_->FirstStep() > 0 && step_.load() >= theatre_->FirstStep() &&
           InPlayScene(tz::SceneState);
}

void TTheatreControls::Survey() {
    surveyed_ = true;
    marks_.Clear();
    const std::int64_t back = step_.load();
    const std::uint32_t scenery = form_.SceneryKey();
    std::int64_t setUps = 0;
    std::int64_t at = theatre_->Seek(theatre_->FirstStep(), back);
    setUps += theatre_->LastSeekSetUps();
    marks_.Observe(at);
    // Step by step from the title until the playback ends (the step that brings the title
    // back, ending the replay mode): its last step is the one before.
    const std::int64_t limit = theatre_->FirstStep() + PlaybackRoom;
    startStep_ = lastStep_ = 0;
    while (at < limit) {
        const bool playing = tz::ReplayMode && InPlayScene(tz::SceneState);
        if (playing) {
            if (startStep_ == 0) startStep_ = at;
            lastStep_ = at;
        } else if (startStep_ > 0 || !tz::ReplayMode) {
            break;
        }
        at = theatre_->Seek(at + 1, at);
        setUps += theatre_->LastSeekSetUps();
        marks_.Observe(at);
    }
    if (startStep_ == 0) startStep_ = lastStep_ = back;
    at = theatre_->Seek(back, at);
    setUps += theatre_->LastSeekSetUps();
    step_ = at;
    form_.AfterJump(scenery, setUps > 0);
}

void TTheatreControls::Jump(std::int64_t target) {
    target = std::clamp(target, startStep_, lastStep_);
    const std::uint32_t scenery = form_.SceneryKey();
    step_ = theatre_->Seek(target, step_.load());
    form_.AfterJump(scenery, theatre_->LastSeekSetUps() > 0);
}

bool TTheatreControls::ActiveNow() {
    if (!theatre_) return false;
    // The scene is the tick's to change: read with the engine locked. The ticks go on
    // undisturbed when nothing is played back (the arrows move the ship then).
    std::lock_guard lock(form_.Sprite.EngineLock());
    return Active();
}

bool TTheatreControls::Press(TTheatreKey key) {
    if (key == TTheatreKey::None || !ActiveNow()) return false;
    const TTicksStopped stopped(form_.Sprite);
    if (!Active()) return false;
    shownUntil_ = std::chrono::steady_clock::now() + TimelineShown;
    if (!surveyed_) Survey();
    const std::int64_t step = step_.load();
    const std::int64_t second = tz::ProcessPerSec;
    switch (key) {
        case TTheatreKey::Back: Jump(step - SeekShortSeconds * second); break;
        case TTheatreKey::Forward: Jump(step + SeekShortSeconds * second); break;
        case TTheatreKey::BackLong: Jump(step - SeekLongSeconds * second); break;
        case TTheatreKey::ForwardLong: Jump(step + SeekLongSeconds * second); break;
        case TTheatreKey::Start: Jump(startStep_); break;
        case TTheatreKey::End: Jump(lastStep_); break;
        case TTheatreKey::StepBack:
            if (form_.GamePaused()) Jump(step - 1);
            break;
        case TTheatreKey::StepForward:
            if (form_.GamePaused()) Jump(step + 1);
            break;
        case TTheatreKey::Slower:
        case TTheatreKey::Faster: {
            const std::size_t last = PlaybackSpeeds.size() - 1;
            speed_ = key == TTheatreKey::Slower ? (speed_ > 0 ? speed_ - 1 : 0) : std::min(speed_ + 1, last);
            const TPlaybackSpeed& s = PlaybackSpeeds[speed_];
            form_.SetPlaybackRate(s.Repeat, s.Divide);
            form_.Sprite.SetProcessRepeat(s.Repeat);
            form_.Sprite.SetProcessDivide(s.Divide);
            form_.AfterJump(form_.SceneryKey(), false);   // a paused frame shows the new speed
            break;
        }
        case TTheatreKey::TakeOver:
            // As --take-over does: the playback ends here and the live input plays on.
            if (tz::TakeOverPlayback()) {
                speed_ = NormalSpeed;
                form_.SetPlaybackRate(1, 1);
                form_.AfterJump(form_.SceneryKey(), false);
            }
            break;
        case TTheatreKey::Pause:
        case TTheatreKey::None: break;
    }
    return true;
}

bool TTheatreControls::SeekTo(std::int64_t step) {
    if (!ActiveNow()) return false;
    const TTicksStopped stopped(form_.Sprite);
    if (!Active()) return false;
    if (!surveyed_) Survey();
    Jump(step);
    return true;
}

bool TTheatreControls::KeyDown(const plat::WindowEvent& event) {
    const TTheatreKey key = TheatreKeyOf(event);
    // The pause stays the window's: the theatre only shows its timeline with it.
    return Press(key) && key != TTheatreKey::Pause;
}

void TTheatreControls::DrawOverlay() {
    if (!surveyed_ || !Active()) return;
    const auto left = shownUntil_ - std::chrono::steady_clock::now();
    if (!form_.GamePaused() && left <= decltype(left)::zero()) return;
    const TPlaybackSpeed& s = PlaybackSpeeds[speed_];
    // Its last half second it fades out (unless paused).
    const double brightness =
        form_.GamePaused() ? 1.0 : std::chrono::duration<double>(left) / std::chrono::duration<double>(TimelineFading);
    const TTimelineView view{startStep_, EndStep(), step_.load(), marks_.Marks(),
                             s.Repeat,   s.Divide,  brightness};
    DrawTimeline(form_.Sprite, view);
}

std::string TimelineJson(const TTheatreControls& controls) {
    std::string json = "{\"timeline\":{\"step\":" + std::to_string(controls.Step()) +
                       ",\"first\":" + std::to_string(controls.StartStep()) +
                       ",\"last\":" + std::to_string(controls.LastStep());
    for (const auto& [kind, name] : {std::pair{TMarkKind::Stage, "stage"}, std::pair{TMarkKind::Boss, "boss"},
                                     std::pair{TMarkKind::LifeLost, "life"}}) {
        json += ",\"" + std::string(name) + "\":[";
        bool first = true;
        for (const TTimelineMark& m : controls.Marks().Marks()) {
            if (m.Kind != kind) continue;
            if (!first) json += ',';
            json += std::to_string(m.Step);
            first = false;
        }
        json += "]";
    }
    return json + "}}";
}

}  // namespace app
