#pragma once
// The game's nine sprite banks, the one list of them: the file each is stored in beside the
// game and the pattern numbers it holds (the banks follow one another in the pattern table).
// The game window stores bank n as entry n (the bank of stage s is bank s + 1), the picture
// generator draws exactly these, the manual shows them and the tests load them.

#include <array>
#include <cstdint>
#include <string_view>

namespace tz {

struct TBankFile {
    std::string_view File;   // "TZ_System.sp4"; the picture is the same name with ".bmp"
    std::int16_t First, Last;  // the pattern numbers it holds

    // The name without its extension.
    constexpr std::string_view Stem() const { return File.substr(0, File.rfind('.')); }
};

inline constexpr std::array<TBankFile, 9> BankFiles{{
    {"TZ_System.sp4", 0, 84},
    {"tz_GameSprite.sp4", 85, 218},
    {"TZ_Stage1.sp4", 219, 222},
    {"TZ_Stage2.sp4", 223, 237},
    {"TZ_Stage3.sp4", 238, 243},
    {"TZ_BossA.sp4", 244, 244},
    {"TZ_BossB.sp4", 245, 248},
    {"Tz_TitleSpprite.sp4", 249, 252},
    {"TZ_Ending.sp4", 253, 272},
}};

}  // namespace tz
