#pragma once
// A sprite bank under construction: pattern pictures by number, packed into one 640-pixel
// wide picture, written as a .sp4 layout plus an 8-bit .bmp of the same name.

#include <map>
#include <string>
#include <vector>

#include "canvas.h"
#include "engine/bmp8.h"
#include "engine/sp4_format.h"

namespace art {

inline constexpr int kBankWidth = 640;

class Bank {
public:
    // The bank owns pattern numbers first..last (inclusive).
    Bank(std::string fileBase, int first, int last);

    void set(int number, Picture p);
    int first() const { return first_; }
    int last() const { return last_; }
    const std::string& name() const { return base_; }

    // Packs the pictures (numbers without one become empty 1x1 patterns at the transparent
    // corner) and produces the files' contents.
    struct Output {
        engine::bmp8::Image image;
        std::vector<engine::sp4::PatternFields> records;
        bool rotate = false;
    };
    Output build() const;

private:
    std::string base_;
    int first_, last_;
    std::map<int, Picture> pictures_;
};

// Writes <dir>/<base>.sp4 and <dir>/<base>.bmp; throws std::runtime_error on failure.
void writeBank(const std::string& dir, const Bank& bank, const Bank::Output& out);

// A PNG for review: the bank at twice the size on a dark checker, every pattern's
// rectangle, number, hot spot and hit circles drawn over it.
void writeContactSheet(const std::string& path, const Bank& bank, const Bank::Output& out);

}  // namespace art
