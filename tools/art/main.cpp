// Draws every picture of the game and writes the banks, the title picture and the play-field
// background into the output folder. With --contact DIR it also writes a PNG contact sheet
// per bank for review. With --icons DIR it writes only the program's icons.
//
// usage: korrindal_art --out DIR [--contact DIR] | --icons DIR

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <map>
#include <mutex>

#include "art.h"
#include "core/bank_list.h"
#include "icon.h"
#include "preview.h"

namespace {

// How each bank of the game's list (core/bank_list.h) is drawn, in the list's order.
using DrawBank = void (*)(art::Bank&);
constexpr std::array<DrawBank, tz::BankFiles.size()> kDrawBank{
    art::drawSystemBank, art::drawGameSpriteBank, art::drawStage1Bank, art::drawStage2Bank, art::drawStage3Bank,
    art::drawBossABank,  art::drawBossBBank,      art::drawTitleBank,  art::drawEndingBank};

int usage() {
    std::fputs("usage: korrindal_art --out DIR [--contact DIR] | --icons DIR\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string outDir, contactDir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) outDir = argv[++i];
        else if (a == "--contact" && i + 1 < argc) contactDir = argv[++i];
        else if (a == "--icons" && i + 1 < argc) {
            try {
                art::writeIcons(argv[++i]);
                return 0;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "korrindal_art: %s\n", e.what());
                return 1;
            }
        } else return usage();
    }
    if (outDir.empty() && contactDir.empty()) return usage();

    // Jobs run on two threads: the machine is shared and the banks are independent.
    std::mutex made;
    std::map<int, art::Bank::Output> outputs;
    engine::bmp8::Image titleImg, bgImg;
    std::vector<std::function<void()>> jobs;
    for (std::size_t i = 0; i < tz::BankFiles.size(); ++i) {
        jobs.emplace_back([&, i] {
            const auto t0 = std::chrono::steady_clock::now();
            const std::string name(tz::BankFiles[i].Stem());
            art::Bank bank(name, tz::BankFiles[i].First, tz::BankFiles[i].Last);
            kDrawBank[i](bank);
            const art::Bank::Output out = bank.build();
            if (!outDir.empty()) art::writeBank(outDir, bank, out);
            if (!contactDir.empty()) art::writeContactSheet(contactDir + "/" + name + ".png", bank, out);
            if (std::getenv("KORRINDAL_ART_TIMES"))
                std::fprintf(stderr, "%s: %.2f s\n", name.c_str(), std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
            std::lock_guard<std::mutex> lock(made);
            outputs[tz::BankFiles[i].First] = out;
        });
    }
    jobs.emplace_back([&] {
        const auto img = art::drawTitleBack();
        if (!outDir.empty() && !engine::bmp8::write(outDir + "/tz_TitleBack.bmp", img)) throw std::runtime_error("cannot write " + outDir + "/tz_TitleBack.bmp");
        std::lock_guard<std::mutex> lock(made);
        titleImg = img;
    });
    jobs.emplace_back([&] {
        const auto img = art::drawPlayBackground();
        if (!outDir.empty() && !engine::bmp8::write(outDir + "/tz_BG.bmp", img)) throw std::runtime_error("cannot write " + outDir + "/tz_BG.bmp");
        std::lock_guard<std::mutex> lock(made);
        bgImg = img;
    });

    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    auto worker = [&] {
        for (std::size_t i; (i = next++) < jobs.size();) {
            try {
                jobs[i]();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "korrindal_art: %s\n", e.what());
                failed = true;
            }
        }
    };
    std::thread second(worker);
    worker();
    second.join();
    if (!failed && !contactDir.empty()) {
        try {
            art::writePreviews(contactDir, outputs, bgImg, titleImg);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "korrindal_art: %s\n", e.what());
            failed = true;
        }
    }
    return failed ? 1 : 0;
}
