#pragma once
// The startup dialog's stored form: its size, the places of its controls in form units (one
// unit is one pixel at scale 1) and their captions, in Japanese and, for machines without a
// Japanese-capable font, in English.

#include <array>

#include "platform/form_window.h"

namespace frontend {

inline constexpr int FormWidth = 529;
inline constexpr int FormHeight = 263;
inline constexpr int ReplayItemHeight = 15;

namespace Layout {
inline constexpr plat::FormRect Bevel1{12, 8, 148, 84};
inline constexpr plat::FormRect cbVRAM{20, 13, 136, 18};
inline constexpr plat::FormRect cbReverseSound{20, 32, 136, 18};
inline constexpr plat::FormRect cbBGM{20, 51, 136, 18};
inline constexpr plat::FormRect cbSE{20, 70, 136, 18};
inline constexpr plat::FormRect cbFullScreen{20, 98, 136, 18};
inline constexpr plat::FormRect cbSmoothMotion{20, 117, 136, 18};
inline constexpr plat::FormRect cbStartFrom{12, 140, 148, 18};
inline constexpr plat::FormRect Label1{172, 8, 345, 14};
inline constexpr plat::FormRect ReplayList{172, 25, 345, 90};
inline constexpr plat::FormRect btnStart{172, 120, 168, 21};
inline constexpr plat::FormRect btnManual{349, 120, 168, 21};
// The list of the controls under the rest: keyboard on the left, controller on the right.
inline constexpr plat::FormRect Bevel2{12, 167, 505, 90};
inline constexpr plat::FormRect lblKeyboard{20, 171, 245, 84};
inline constexpr plat::FormRect lblGamepad{272, 171, 245, 84};
}  // namespace Layout

inline constexpr int StartFromChoices = 6;

struct TDialogCaptions {
    const char* Form;
    const char* cbVRAM;
    const char* cbReverseSound;
    const char* cbBGM;
    const char* cbSE;
    const char* cbFullScreen;
    const char* cbSmoothMotion;
    std::array<const char*, StartFromChoices> cbStartFrom;
    const char* Label1;
    const char* btnStart;
    const char* btnManual;
};

inline constexpr TDialogCaptions JapaneseCaptions{
    "起動オプション",
    "ＶＲＡＭを使う",
    "効果音の左右反転",
    "ＢＧＭ",
    "効果音",
    "フルスクリーン",
    "なめらかな動き",
    {"最初から", "１面中ボスから", "２面から", "３面から", "３面ボスから", "クレジット"},
    "リプレイデータの選択・再生",
    "起動",
    "説明書",
};

inline constexpr TDialogCaptions EnglishCaptions{
    "Startup options",
    "Use video memory",
    "Mirror effect panning",
    "Music",
    "Sound effects",
    "Full screen",
    "Smooth motion",
    {"From the start", "Stage 1 mid-boss", "Stage 2", "Stage 3", "Stage 3 boss", "Credits"},
    "Choose and play replay data",
    "Start",
    "Manual",
};

}  // namespace frontend
