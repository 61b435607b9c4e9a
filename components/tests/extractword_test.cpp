#include "components/ExtractWord.h"
#include "components/SavedColumnHelpers.h"

#include <gmock/gmock.h>

using ::testing::ElementsAreArray;

namespace {

using components::GetWord;
using components::GetWordPosition;
using components::ParseIntegerList;
using components::TSysCharSet;

TEST(ExtractWord, FindsTheNthWordBetweenRunsOfDelimiters) {
    const TSysCharSet comma{','};
    const TSysCharSet blankComma{' ', ','};
    // Bytes 0xE9 and 0xC3 are in the sets but never separate words.
    const TSysCharSet highBytes{' ', '\xE9', '\xC3'};
    const struct {
        int N;
        const char* Text;
        const TSysCharSet& Delims;
        int Position;
        const char* Word;
    } cases[] = {
        {1, ",,ab,,cd,", comma, 3, "ab"},
        {2, ",,ab,,cd,", comma, 7, "cd"},
        {3, ",,ab,,cd,", comma, 0, ""},
        {0, ",,ab,,cd,", comma, 0, ""},
        {-1, "ab", comma, 0, ""},
        {1, "", comma, 0, ""},
        {1, ",,,", comma, 0, ""},
        {1, "whole", comma, 1, "whole"},
        {2, "a b,c", comma, 5, "c"},
        {2, "10, ,20", blankComma, 6, "20"},
        {1,
         "a\xE9"
         "b c",
         highBytes, 1,
         "a\xE9"
         "b"},
        {2, "x caf\xC3\xA9 y", highBytes, 3, "caf\xC3\xA9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.N << " of '" << c.Text << "'");
        EXPECT_EQ(GetWordPosition(c.N, c.Text, c.Delims), c.Position);
        EXPECT_EQ(GetWord(c.N, c.Text, c.Delims), c.Word);
    }
}

TEST(ParseIntegerList, StopsAtTheFirstWordThatIsNoInteger) {
    const struct {
        const char* Text;
        std::vector<int> Numbers;
    } cases[] = {
        {"3,1,2", {3, 1, 2}},
        {"3 1 2", {3, 1, 2}},
        {"3, 1 ,2", {3, 1, 2}},
        {"3,x,2", {3}},
        {"", {}},
        {"10, ,20", {10, 20}},
        {"-1,2", {-1, 2}},
        {"3,1,2,", {3, 1, 2}},
        {"x,1", {}},
        {"2147483647,2147483648,1", {2147483647}},
    };
    for (const auto& c : cases)
        EXPECT_THAT(ParseIntegerList(c.Text), ElementsAreArray(c.Numbers)) << c.Text;
}

} // namespace
