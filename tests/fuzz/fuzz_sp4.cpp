// Bank layout files: read or refused with a message, never a read past the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/bank_file.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::MemoryFile file(data, size);
    if (!file.ok()) return 0;
    engine::sp4::Header header{};
    std::vector<engine::sp4::PatternFields> records;
    std::string error;
    if (!engine::readBankFile(file.path(), header, records, error) && error.empty()) std::abort();
    for (const auto& r : records) (void)engine::sourceInside(r.source, 640, 480);
    return 0;
}
