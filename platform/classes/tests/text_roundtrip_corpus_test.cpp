// Replays the text round-trip fuzzer's corpus: every text is refused with
// EParserError or goes to a stream that reads back to a text making the
// same stream again.
#include "platform/classes/fuzz/TextRoundTrip.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

TEST(TextRoundTripCorpus, EveryTextIsRefusedOrComesBackAsTheSameStream) {
    int Inputs = 0;
    for (const auto& Entry : std::filesystem::directory_iterator(CLASSES_TEXT_CORPUS)) {
        std::ifstream In(Entry.path(), std::ios::binary);
        std::stringstream Buffer;
        Buffer << In.rdbuf();
        ++Inputs;
        EXPECT_EQ(stream_fixture::TextRoundTripFault(Buffer.str()), "")
            << Entry.path().filename().string();
    }
    EXPECT_GE(Inputs, 5);
}
