#include "game/tz_outlet.h"

#include "game/tz_globals.h"

namespace tz {

std::int32_t UserEventRequests = 0;

namespace {

void NoSound(std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void NoMusic(std::uint8_t) {}
void NoCall() {}
void NoResume(std::uint8_t, std::int32_t) {}
void NoLevel(std::int32_t) {}
void NoColour(std::uint8_t) {}
void CountRequest() { ++UserEventRequests; }

// Without a game window: nothing to play or show; scene requests are counted.
constexpr TOutlet DefaultOutlet{NoSound, NoMusic, NoCall, NoLevel, NoLevel, NoColour, CountRequest, NoResume};
constexpr TOutlet SilentOutlet{NoSound, NoMusic, NoCall, NoLevel, NoLevel, NoColour, NoCall, NoResume};

const TOutlet* Current = &DefaultOutlet;

}  // namespace

const TOutlet& Outlet() { return *Current; }

void SetOutlet(const TOutlet* outlet) { Current = outlet != nullptr ? outlet : &DefaultOutlet; }

bool OutletSilenced() { return Current == &SilentOutlet; }

TSilencedOutlet::TSilencedOutlet() : FSaved(Current) { Current = &SilentOutlet; }
TSilencedOutlet::~TSilencedOutlet() { Current = FSaved; }

void PlaySE(std::int32_t Index, std::int32_t Pan, std::int32_t VolumeStep, std::int32_t Rate) {
    Current->PlaySE(Index, Pan, VolumeStep, Rate);
}

void FadeToWhite(std::int32_t Level) { Current->FadeToWhite(Level); }
void FadeToBlack(std::int32_t Level) { Current->FadeToBlack(Level); }
void FillScreens(std::uint8_t Colour) { Current->FillScreens(Colour); }

void StopMusic() {
    if (MusicPiece == Music::None) return;
    Current->StopMusic();
    MusicPiece = Music::None;
    MusicTicks = 0;
}

void StartMusic(std::uint8_t Piece) {
    StopMusic();
    MusicPiece = Piece;
    MusicTicks = 0;
    Current->StartMusic(Piece);
}

void FollowMusic() { Current->ResumeMusic(MusicPiece, MusicTicks); }

void RequestUserEvent() {
    GameState.Play.UserEventPending = true;
    Current->UserEvent();
}

}  // namespace tz
