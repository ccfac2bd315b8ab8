#include "game/tz_globals.h"

namespace tz {

std::uint8_t SceneState = Scene::NotStarted;
std::int32_t SceneTimer = 0;
std::int32_t RefreshCount = 0;
std::int32_t Score = 0;
std::int32_t HiScore = 0;
std::int32_t StageNo = 1;
std::int32_t TimeLeft = -1;
std::int32_t DeadTimer = 0;
std::int32_t BossLife = 9999;
std::int32_t BonusRate = 0;
bool BgmPlaying = false;
std::uint8_t FillColour = 0;

bool FullScreen = true;
bool UseVram = true;
bool ReverseSound = false;
bool EnableBGM = true;
bool EnableSE = true;
std::int32_t StartFrom = 0;

std::int32_t UserEventRequests = 0;

namespace {
TUserEventRequester Requester = nullptr;
}

void SetUserEventRequester(TUserEventRequester requester) { Requester = requester; }

void RequestUserEvent() {
    ++UserEventRequests;
    if (Requester != nullptr) Requester();
}

}  // namespace tz
