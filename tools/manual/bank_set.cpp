#include "bank_set.h"

#include "engine/bank_file.h"

namespace manual {

namespace {

std::string baseName(const std::string& file) {
    const std::string ext = ".sp4";
    if (file.size() > ext.size() && file.compare(file.size() - ext.size(), ext.size(), ext) == 0)
        return file.substr(0, file.size() - ext.size());
    return file;
}

}  // namespace

bool BankSet::load(const std::string& folder, const std::vector<std::string>& bankFiles, std::string& error) {
    banks_.clear();
    folder_ = folder;
    int next = 0;
    for (const auto& file : bankFiles) {
        LoadedBank b;
        b.name = baseName(file);
        const std::string path = folder + "/" + b.name;
        engine::sp4::Header header;
        if (!engine::readBankFile(path + ".sp4", header, b.records, error)) return false;
        auto picture = engine::bmp8::read(path + ".bmp");
        if (!picture || picture->width <= 0 || picture->height <= 0) {
            error = path + ".bmp is not an 8-bit picture";
            return false;
        }
        b.picture = std::move(*picture);
        b.key = b.picture.at(0, 0);
        for (std::size_t k = 0; k < b.records.size(); ++k) {
            const auto& s = b.records[k].source;
            if (s.left < 0 || s.top < 0 || s.left > s.right || s.top > s.bottom || s.right > b.picture.width ||
                s.bottom > b.picture.height) {
                error = path + ".sp4: pattern " + std::to_string(k) + " lies outside its picture";
                return false;
            }
        }
        b.first = next;
        next += static_cast<int>(b.records.size());
        banks_.push_back(std::move(b));
    }
    return true;
}

std::optional<PatternRef> BankSet::find(int pattern) const {
    for (const auto& b : banks_) {
        if (pattern >= b.first && pattern < b.first + static_cast<int>(b.records.size()))
            return PatternRef{&b, &b.records[static_cast<std::size_t>(pattern - b.first)]};
    }
    return std::nullopt;
}

std::optional<engine::bmp8::Image> BankSet::readPicture(const std::string& file) const {
    if (file.find('/') != std::string::npos) return std::nullopt;  // only the game's own folder
    return engine::bmp8::read(folder_ + "/" + file);
}

}  // namespace manual
