// TSpriteEx: sprite banks, the pattern table's layout, bitmaps into surfaces, colour keys
// and the colour-mix table.

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "engine/add_table.h"
#include "engine/bank_file.h"
#include "engine/bitmap_blit.h"
#include "engine/blit.h"
#include "engine/sprite_ex.h"
#include "core/data_path.h"

namespace engine {

namespace {

// What a missing bank file was looked for as.
std::string lookedFor(const std::string& stored, int index) {
    if (stored.empty()) return "(bank " + std::to_string(index) + " has no name)";
    return tz::ChangeFileExt(stored, ".sp4");
}

// The header fields a bank keeps.
void takeHeader(TBankRec& bank, const sp4::Header& header) {
    bank.sysMem = header.sysMem;
    bank.rotate = header.rotate;
    bank.last = header.last;
}

// A bank keeps its picture from its first load until the program ends (to restore the bank
// after the display is lost). Its storage is reserved here, at start-up, at the picture's
// full size, so loading banks between scenes reuses it and a whole game gives the heap back
// exactly what it took. The picture stays empty until the bank is first loaded; a picture
// that cannot be read is reported when the bank is.
void reservePicture(TBankRec& bank) {
    int width = 0, height = 0;
    std::string error;
    if (!plat::readBitmapSize(tz::ChangeFileExt(bank.fileName, ".bmp"), width, height, error)) return;
    bank.bitmap.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

}  // namespace

bool TSpriteEx::LayOutBanks() {
    const int overflow = layoutBankIndices(FBankData);
    if (overflow < 0) return true;
    Fail(bankOverflowMessage(FBankData[static_cast<std::size_t>(overflow)], overflow));
    return false;
}

void TSpriteEx::Loaded() {
    // Every bank's header and pattern records are read now, so the hit circles of all banks
    // are in the table from the start, whenever a bank's pictures are loaded later.
    for (int i = 0; i < kBankCount; ++i) {
        const std::string& name = FBanks[static_cast<std::size_t>(i)];
        if (!name.empty()) FBankData[static_cast<std::size_t>(i)].fileName = tz::DataPath(name, ".sp4");
    }
    // Start-up only: the records of all banks are taken once.
    const auto records = std::make_unique<TPatternRecords>();
    std::string error;
    switch (readBankSet(FBankData, *records, error)) {
        case TBankSetResult::BadFile: Fail("Loaded.BadBankFile - " + error); return;
        case TBankSetResult::Overflow: Fail(error); return;
        case TBankSetResult::Ok: break;
    }
    for (int i = 0; i < kBankCount; ++i) {
        TBankRec& bank = FBankData[static_cast<std::size_t>(i)];
        if (bank.fileName.empty()) continue;
        reservePicture(bank);
        for (int k = 0; k <= bank.last; ++k) {
            const auto n = static_cast<std::size_t>(bank.first + k);
            FPatterns[n].assignFields((*records)[n]);
        }
    }
}

void TSpriteEx::RealizeBank(int Index) {
    if (!Running()) return;
    if (Index < 0 || Index >= kBankCount) {
        Fail("RealizeBank.OutOfRange");
        return;
    }
    TBankRec& bank = FBankData[static_cast<std::size_t>(Index)];
    const std::string& stored = FBanks[static_cast<std::size_t>(Index)];
    bank.fileName = stored.empty() ? std::string() : tz::DataPath(stored, ".sp4");
    if (bank.fileName.empty()) {
        Fail("RealizeBank.FileNotFound - " + lookedFor(stored, Index));
        return;
    }
    const bool was = SetPause(true);
    bank.surface.reset();

    sp4::Header header;
    std::vector<sp4::PatternFields> records;
    std::string error;
    if (!readBankFile(bank.fileName, header, records, error)) {
        Fail("RealizeBank.BadFile - " + error);
        return;
    }
    const std::string bmpName = tz::ChangeFileExt(bank.fileName, ".bmp");
    const plat::Bitmap8* picture = LoadPicture(bmpName, bank.bitmap, error);
    if (picture == nullptr) {
        Fail("RealizeBank.BadPicture - " + error);
        return;
    }
    if (picture != &bank.bitmap) bank.bitmap = *picture;   // into the storage reserved at start-up
    SetPaletteFromBitmap(bank.bitmap.palette);
    const int height = stretchedHeight(bank.bitmap, FScreenWidth);
    if (RealizeSurface(bank.surface, height, header.sysMem != 0) != 0) return;
    BltBmpToSurface(bank.surface, 0, 0, FScreenWidth, height, bank.bitmap, 0, 0);
    bank.colorKey = SetColorKeyFromCorner(bank.surface);

    // The patterns this bank held so far give back their rotation sheets and runs.
    if (bank.last >= 0) {
        for (int i = bank.first; i <= bank.first + bank.last && i < kPatternCount; ++i) {
            if (FPatterns[static_cast<std::size_t>(i)].bank == Index) ReleaseRotations(static_cast<std::int16_t>(i));
        }
    }
    takeHeader(bank, header);
    if (!LayOutBanks()) return;
    // Every Source must lie in the bank surface before any record is taken.
    const Surface& surface = *bank.surface;
    for (std::size_t k = 0; k < records.size(); ++k) {
        const sp4::Rect s = scaleSource(records[k].source, FSizeRate);
        if (!sourceInside(s, surface.width, surface.height)) {
            Fail("RealizeBank.BadSource - " + bank.fileName + " pattern " + std::to_string(k) + " (" +
                 std::to_string(s.left) + ", " + std::to_string(s.top) + ", " + std::to_string(s.right) + ", " +
                 std::to_string(s.bottom) + ") is outside its picture " + tz::ExtractFileName(bmpName) + " of " + std::to_string(surface.width) + " x " +
                 std::to_string(surface.height));
            return;
        }
    }
    for (std::size_t k = 0; k < records.size(); ++k) {
        TPatternRec& p = FPatterns[static_cast<std::size_t>(bank.first) + k];
        ReleaseRotations(static_cast<std::int16_t>(bank.first + static_cast<int>(k)));
        p.assignFields(records[k]);
        p.bank = static_cast<std::uint8_t>(Index);
        p.source = scaleSource(records[k].source, FSizeRate);
        buildOpaqueRuns(surface, p.source, static_cast<std::uint8_t>(bank.colorKey), p.runs);
    }
    if (bank.rotate != 0) PrepareBankRotations(Index, 0);
    SetPause(was);
}

void TSpriteEx::ReleaseBank(int Index) {
    if (SystemState() == TSystemState::ssPlain) {
        Fail("RealizeBank.NotInit");
        return;
    }
    if (Index < 0 || Index >= kBankCount) {
        Fail("RealizeBank.OutOfRange");
        return;
    }
    // Wait (up to a second) for a running tick or refresh to finish.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
    while ((FProcessBusy.load() || FInRefresh) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    TBankRec& bank = FBankData[static_cast<std::size_t>(Index)];
    for (int i = bank.first; i <= bank.first + bank.last && i < kPatternCount; ++i) {
        if (FPatterns[static_cast<std::size_t>(i)].bank == Index) {
            ReleaseRotations(static_cast<std::int16_t>(i));
            FPatterns[static_cast<std::size_t>(i)].runs = TOpaqueRuns{};  // rebuilt when the bank is loaded again
        }
    }
    bank.surface.reset();
    if (SystemState() == TSystemState::ssTerminate) bank.bitmap.clear();
}

void TSpriteEx::ReleaseBanks() {
    const bool was = SetPause(true);
    for (int i = 0; i < kBankCount; ++i) ReleaseBank(i);
    SetPause(was);
}

void TSpriteEx::BltBmpToSurface(SurfacePtr& Surface, int X, int Y, int Width, int Height, const plat::Bitmap8& Bitmap,
                                int SrcX, int SrcY) {
    if (!Running()) return;
    if (!Surface) {
        Fail("BltBmpToSurface.NotInit");
        return;
    }
    const bool was = SetPause(true);
    const BitmapPlacement place{FFixScaling, ResolutionSize(FResolution).width, FScreenWidth, FScreenHeight};
    bltBitmap(*Surface, X, Y, Width, Height, Bitmap, SrcX, SrcY, place);
    SetPause(was);
}

int TSpriteEx::LoadBmpToSurface(SurfacePtr& Surface, const std::string& FileName) {
    if (!Running()) return -1;
    const std::string path = tz::DataPath(FileName, ".bmp");
    if (path.empty()) return -1;
    const bool was = SetPause(true);
    plat::Bitmap8 scratch;
    std::string error;
    const plat::Bitmap8* picture = LoadPicture(path, scratch, error);
    if (picture == nullptr) {
        Fail("LoadBmpToSurface.BadPicture - " + error);
        return -1;
    }
    BltBmpToSurface(Surface, 0, 0, FScreenWidth, FScreenHeight, *picture, 0, 0);
    SetPaletteFromBitmap(picture->palette);
    SetPause(was);
    return picture->height;
}

const plat::Bitmap8* TSpriteEx::LoadPicture(const std::string& path, plat::Bitmap8& scratch, std::string& error) {
    if (FKeepPictures) {
        for (const auto& [name, picture] : FKeptPictures)
            if (name == path) return &picture;
    }
    if (!plat::loadBitmap8(path, scratch, error)) return nullptr;
    if (FKeepPictures) FKeptPictures.emplace_back(path, scratch);
    return &scratch;
}

void TSpriteEx::SetKeepPictures(bool keep) {
    FKeepPictures = keep;
    if (!keep) decltype(FKeptPictures)().swap(FKeptPictures);
}

std::uint32_t TSpriteEx::SetColorKeyFromCorner(SurfacePtr& Surface) {
    if (!Running() || !Surface || Surface->pixels.size() < 4) return 0;
    const std::uint8_t* p = Surface->pixels.data();
    const std::uint32_t key = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                              (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    Surface->colorKey = key;
    Surface->hasColorKey = true;
    return key;
}

bool TSpriteEx::LoadAddTable(const std::string& Name) {
    const std::string cached = tz::DataPath(Name, ".Add");
    return !cached.empty() && readAddTable(cached, FAddTable);
}

void TSpriteEx::MakeAddTable(const std::string& Name, int RateA, int RateB) {
    if (FBitsPerPixel != 8) return;
    // A cache of the wrong size is not used: the table is computed (and written) again.
    if (LoadAddTable(Name)) return;
    computeAddTable(FPaletteEntries, RateA, RateB, FAddTable);
    // The cache goes where the game writes its files; the computed table stays in use when
    // it cannot be written.
    const std::string folder = tz::SaveDir();
    std::string error;
    if (tz::MakeFolder(folder, error))
        writeAddTable(folder + tz::ExtractFileName(tz::ChangeFileExt(Name, ".Add")), FAddTable);
}

}  // namespace engine
