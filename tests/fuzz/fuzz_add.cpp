// The colour-mix cache: exactly 65,536 bytes or refused, and a refused file leaves the
// table as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/add_table.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::MemoryFile file(data, size);
    if (!file.ok()) return 0;
    auto table = std::make_unique<engine::MixTable>();
    table->fill(7);
    const bool ok = engine::readAddTable(file.path(), *table);
    if (ok != (size == table->size())) std::abort();
    if (!ok && (*table)[0] != 7) std::abort();
    return 0;
}
