#pragma once
// The game's sprite banks as the build wrote them: each bank's layout (.sp4) and picture
// (.bmp), numbered into the one pattern table in the order the game window lists them.

#include <optional>
#include <string>
#include <vector>

#include "engine/bmp8.h"
#include "engine/sp4_format.h"

namespace manual {

struct LoadedBank {
    std::string name;
    int first = 0;                                  // number of its first pattern
    std::vector<engine::sp4::PatternFields> records;
    engine::bmp8::Image picture;
    std::uint8_t key = 0;                           // transparent colour: the top-left pixel
};

// One pattern found in its bank.
struct PatternRef {
    const LoadedBank* bank = nullptr;
    const engine::sp4::PatternFields* record = nullptr;
};

class BankSet {
public:
    // Reads "<name>.sp4" and "<name>.bmp" from the folder for every bank file name (given
    // with or without the .sp4 extension). False with a message naming the file on failure.
    bool load(const std::string& folder, const std::vector<std::string>& bankFiles, std::string& error);

    std::optional<PatternRef> find(int pattern) const;
    // One of the game's full pictures from the same folder (file name with extension).
    std::optional<engine::bmp8::Image> readPicture(const std::string& file) const;
    const std::vector<LoadedBank>& banks() const { return banks_; }

private:
    std::vector<LoadedBank> banks_;
    std::string folder_;
};

}  // namespace manual
