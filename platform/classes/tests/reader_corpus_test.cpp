// Replays the reader fuzzer's corpus: every input loads, or is refused with
// EReadError (EClassNotFound for a class nobody registered), both into an
// existing root and as a stream that names its own root class; its text
// form converts or is refused the same way, and the bytes taken as a text
// convert or raise EParserError. What loads loads the same once written.
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/classes/fuzz/ComponentRoundTrip.h"
#include "platform/classes/fuzz/StreamFixture.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

enum class TOutcome { Loaded, ReadError, ClassNotFound };

template <class F> TOutcome Outcome(F&& Load) {
    try {
        Load();
        return TOutcome::Loaded;
    } catch (const EReadError&) {
        return TOutcome::ReadError;
    } catch (const EClassNotFound&) {
        return TOutcome::ClassNotFound;
    }
}

} // namespace

TEST(ReaderCorpus, EveryInputLoadsOrIsRefused) {
    stream_fixture::RegisterStreamFixture();
    int Inputs = 0;
    for (const auto& Entry : std::filesystem::directory_iterator(CLASSES_FUZZ_CORPUS)) {
        std::ifstream In(Entry.path(), std::ios::binary);
        std::stringstream Buffer;
        Buffer << In.rdbuf();
        const AnsiString Bytes = Buffer.str();
        SCOPED_TRACE(Entry.path().filename().string());
        ++Inputs;

        const TOutcome IntoRoot = Outcome([&] {
            TStringStream Stream(Bytes);
            stream_fixture::TBoxForm Root(nullptr);
            ReadComponentRes(&Stream, &Root);
        });
        const TOutcome NewRoot = Outcome([&] {
            TStringStream Stream(Bytes);
            std::unique_ptr<TComponent> Made(ReadComponentRes(&Stream, nullptr));
        });
        EXPECT_EQ(IntoRoot, NewRoot);
        EXPECT_EQ(stream_fixture::ComponentRoundTripFault(Bytes), "");
        const TOutcome Text = Outcome([&] {
            TStringStream Stream(Bytes), Out;
            ObjectBinaryToText(&Stream, &Out);
        });
        EXPECT_NE(Text, TOutcome::ClassNotFound);
        // Taken as a text form, the bytes convert or raise EParserError.
        try {
            TStringStream Stream(Bytes), Out;
            ObjectTextToBinary(&Stream, &Out);
        } catch (const EParserError&) {
        }
    }
    EXPECT_GE(Inputs, 5);
}
