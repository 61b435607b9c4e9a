// Feeds arbitrary bytes to the grid data stream reader, once without and
// once with a column map, each time into a store that holds values already.
// A stream may be refused with the framework's error; then the store must be
// as it was. A stream taken must cost storage for the cells it holds only,
// and save to a stream that reads back the same.
#include "grid/fuzz/FuzzTargets.h"

#include "grid/foundation/CellStore.h"
#include "grid/foundation/IntLists.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Require(bool Holds, const char* Rule) {
    if (Holds) return;
    std::fprintf(stderr, "grid data stream: %s\n", Rule);
    std::abort();
}

std::string Saved(const grid::Tgx2DStorage& Store) {
    TMemoryStream Stream;
    Store.SaveToStream(&Stream);
    return std::string(static_cast<const char*>(Stream.Memory()),
                       static_cast<std::size_t>(Stream.GetSize()));
}

void Load(grid::Tgx2DStorage& Store, const void* Bytes, std::size_t Size, const TList* Map) {
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes, static_cast<int>(Size));
    Stream.SetPosition(0);
    Store.LoadFromStream(&Stream, Map);
}

} // namespace

namespace grid::fuzz {

int DataStreamInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size > 1 << 20) return 0; // the cost of a big stream is not the point here
    TgxIntegerList Map;
    Map.AddItem(3); // stream column 1 lands in column 3
    Map.AddItem(0); // stream column 2 is dropped
    for (const TList* UsedMap :
         {static_cast<const TList*>(nullptr), static_cast<const TList*>(&Map)}) {
        Tgx2DStorage Store(0, 0);
        Store.SetValue(1, 1, vtpString, Variant("kept"));
        Store.SetValue(3, 2, vtpInteger, Variant(7));
        const std::string Before = Saved(Store);
        try {
            Load(Store, Data, Size, UsedMap);
        } catch (const Exception&) {
            Require(Saved(Store) == Before, "a refused stream changed the store");
            continue;
        }
        // Each row held took at least one cell of the stream, plus the two
        // rows the store held before.
        Require(static_cast<std::size_t>(Store.RowsHeld()) <= Size + 2,
                "rows were made for numbers, not for cells");
        const std::string Once = Saved(Store);
        Tgx2DStorage Again(0, 0);
        Load(Again, Once.data(), Once.size(), nullptr);
        Require(Saved(Again) == Once, "a saved stream did not read back the same");
    }
    return 0;
}

} // namespace grid::fuzz
