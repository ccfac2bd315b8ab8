#pragma once
// Reading .sp4 bank layout files and laying the banks out in the shared pattern table.
// Every check that fails gives a message naming the file; nothing is written then.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/pattern_table.h"
#include "engine/sp4_format.h"

namespace engine {

// Reads the 6-byte header and every pattern record. Refuses (returns false with a message) a
// file that cannot be opened, is shorter than its header, has a Last below -1 or more records
// than the file holds.
bool readBankFile(const std::string& path, sp4::Header& header, std::vector<sp4::PatternFields>& records,
                  std::string& error);

// First of bank 0 is 0, and each later bank starts right after the previous one's last
// pattern. Returns the number of the first bank whose patterns do not fit in the table
// (its First is still set), or -1 when all fit.
int layoutBankIndices(TBankTable& banks);

// The file fields of every pattern of a set of banks, at the numbers the banks' layout gives
// them (what the hit test reads, without the pictures or a display).
using TPatternRecords = std::array<sp4::PatternFields, kPatternCount>;

enum class TBankSetResult : std::uint8_t { Ok, BadFile, Overflow };

// Reads the header and pattern records of every bank whose fileName is set (a bank without
// one is left as it is), takes the header fields into the bank (sysMem, rotate, last), lays
// the banks out (layoutBankIndices) and puts each bank's records into records at its First,
// with their bank number. BadFile and Overflow leave records untouched and say why in error
// (the reader's message; bankOverflowMessage).
TBankSetResult readBankSet(TBankTable& banks, TPatternRecords& records, std::string& error);

// The message for a bank that does not fit in the pattern table.
std::string bankOverflowMessage(const TBankRec& bank, int index);

// Scales a Source rectangle by sizeRate quarters (arithmetic shift).
sp4::Rect scaleSource(const sp4::Rect& r, int sizeRate);

// True if the rectangle is well formed and lies within a surface of the given size.
bool sourceInside(const sp4::Rect& r, int width, int height);

}  // namespace engine
