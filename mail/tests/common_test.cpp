#include "mail/MxComponent.h"
#include "mail/MxExceptions.h"
#include "mail/MxReadMemoryStream.h"
#include "mail/MxStreamLines.h"
#include "mail/MxTempFiles.h"
#include "mail/MxText.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace mail;

TEST(FetchText, CutsAtTheFirstDelimiter) {
    struct Case {
        AnsiString Input;
        AnsiString Delim;
        bool Delete;
        bool CaseSensitive;
        AnsiString Result;
        AnsiString Rest;
    };
    const Case cases[] = {
        {"one two three", " ", true, true, "one", "two three"},
        {"one two", " ", false, true, "one", "one two"},
        {"no delimiter", ",", true, true, "no delimiter", ""},
        {"no delimiter", ",", false, true, "no delimiter", "no delimiter"},
        {"keyENDrest", "end", true, true, "keyENDrest", ""},
        {"keyENDrest", "end", true, false, "key", "rest"},
        {AnsiString("a\0b", 3), AnsiString(1, '\0'), true, true, "a", "b"},
        {"text", "", true, true, "text", ""},
    };
    for (const Case& c : cases) {
        AnsiString input = c.Input;
        EXPECT_EQ(FetchText(input, c.Delim, c.Delete, c.CaseSensitive), c.Result) << c.Input;
        EXPECT_EQ(input, c.Rest) << c.Input;
    }
}

TEST(TextRoutines, SearchesAndLists) {
    EXPECT_EQ(PosFrom("ab", "xxabxxab", 0), 3);
    EXPECT_EQ(PosFrom("ab", "xxabxxab", 4), 7);
    EXPECT_EQ(PosFrom("ab", "xxabxxab", 9), 0);
    EXPECT_EQ(PosFrom("", "xxab", 1), 0);

    const AnsiString block("ab\0cd\r\n", 7);
    EXPECT_EQ(MemoryPos("\r\n", block.data(), block.size()), 6);
    EXPECT_EQ(MemoryPos(AnsiString("\0c", 2), block.data(), block.size()), 3);
    EXPECT_EQ(MemoryPos("cd", block.data(), 4), 0); // only the first 4 bytes
    EXPECT_EQ(MemoryPos("", block.data(), block.size()), 0);

    const AnsiString names[] = {"Alpha", "Beta"};
    EXPECT_EQ(IndexInTextArray("beta", names, false), 1);
    EXPECT_EQ(IndexInTextArray("beta", names, true), -1);

    TStringList list;
    list.Add("stale");
    SplitCommaList(&list, " a , \"Smith, Joe\" <js@x> ,, b,");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(0), "a");
    EXPECT_EQ(list.Strings(1), "\"Smith, Joe\" <js@x>");
    EXPECT_EQ(list.Strings(2), "b");
}

TEST(TextRoutines, LocaleFamilies) {
    struct Case {
        const char* Locale;
        int Code;
    };
    const Case cases[] = {{"zh_CN.UTF-8", 0},  {"zh_TW.UTF-8", 1}, {"zh_SG", 1}, {"ja_JP.UTF-8", 2},
                          {"ko_KR.EUC-KR", 3}, {"en_US.UTF-8", 4}, {"C", 4},     {"", 4}};
    for (const Case& c : cases)
        EXPECT_EQ(LocaleCharsetCodeOf(c.Locale), c.Code) << c.Locale;
}

TEST(StreamReadLine, ReadsLinesWithAnyEnding) {
    // A CR LF split across the 2048-byte chunks is still one line end.
    const AnsiString longLine(2047, 'x');
    TStringStream stream("one\r\ntwo\nthree\rfour\r\n\r\n" + longLine + "\r\nlast");
    for (const AnsiString& expected :
         {AnsiString("one"), AnsiString("two"), AnsiString("three"), AnsiString("four"),
          AnsiString(""), longLine, AnsiString("last")}) {
        EXPECT_EQ(StreamReadLine(&stream), expected);
    }
    EXPECT_EQ(StreamReadLine(&stream, -1, false), "");
    try {
        StreamReadLine(&stream);
        ADD_FAILURE() << "no error at the end";
    } catch (const EMxEndOfStream& e) {
        EXPECT_EQ(AnsiString(e.what()),
                  "End of stream: TStringStream at " + std::to_string(stream.GetSize()));
    }
}

TEST(StreamReadLine, StopsAtTheMaximumLength) {
    TStringStream stream("abcdefgh\r\nz");
    EXPECT_EQ(StreamReadLine(&stream, 3), "abc");
    EXPECT_EQ(stream.GetPosition(), 3);
    EXPECT_EQ(StreamReadLine(&stream), "defgh");
    EXPECT_EQ(StreamReadLine(&stream), "z");

    TStringStream out;
    StreamWriteLine(&out, "line");
    EXPECT_EQ(out.DataString(), "line\r\n");
}

TEST(ReadMemoryStream, ReadsTheBlockAndStoresNothing) {
    const AnsiString block = "hello";
    TMxReadMemoryStream stream;
    stream.SetBlock(block.data(), 5);
    char buffer[8] = {};
    EXPECT_EQ(stream.Write("XX", 2), 0);
    EXPECT_EQ(stream.Read(buffer, 8), 5);
    EXPECT_STREQ(buffer, "hello");
    stream.SetBlock(block.data() + 1, 2);
    EXPECT_EQ(stream.GetPosition(), 0);
    EXPECT_EQ(stream.Read(buffer, 8), 2);
}

TEST(TempFiles, MadeUniqueAndPrivate) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("mailtest-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const AnsiString first = MakeTempFileName(dir.string());
    const AnsiString second = MakeTempFileName(dir.string() + "/");
    EXPECT_NE(first, second);
    for (const AnsiString& name : {first, second}) {
        const std::filesystem::path path(name);
        EXPECT_EQ(path.parent_path(), dir);
        EXPECT_EQ(path.filename().string().rfind("Mxt", 0), 0u) << name;
        struct stat info {};
        ASSERT_EQ(stat(name.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    std::filesystem::remove_all(dir);
    EXPECT_EQ(TempDirectory().back(), '/');

    try {
        MakeTempFileName("/nonexistent-folder");
        ADD_FAILURE() << "no error for a missing folder";
    } catch (const EMxException& e) {
        EXPECT_NE(AnsiString(e.what()).find("/nonexistent-folder/"), AnsiString::npos) << e.what();
    }
}

namespace {
// Stands in for the socket stack: only its lifetime is watched, through a
// pointer that is never followed.
struct FakeStack {
    static inline int Living = 0;
    FakeStack() { ++Living; }
    ~FakeStack() { --Living; }
};
} // namespace

TEST(MxComponent, TheStackLivesWhileAComponentDoes) {
    int made = 0;
    SetStackClass([&made] {
        ++made;
        auto fake = std::make_shared<FakeStack>();
        return std::shared_ptr<TMxStack>(fake, reinterpret_cast<TMxStack*>(fake.get()));
    });
    {
        TMxComponent first;
        EXPECT_NE(GStack(), nullptr);
        {
            TComponent owner(nullptr);
            auto* second = new TMxComponent(&owner); // freed with its owner
            (void)second;
            EXPECT_EQ(MxComponentCount(), 2);
        }
        EXPECT_EQ(MxComponentCount(), 1);
        EXPECT_EQ(FakeStack::Living, 1);
    }
    EXPECT_EQ(GStack(), nullptr);
    EXPECT_EQ(FakeStack::Living, 0);
    { TMxComponent again; }
    EXPECT_EQ(made, 2);
    SetStackClass(nullptr);
}

TEST(MxComponent, WorkEventsFireForTheOutermostLevel) {
    TMxComponent component;
    std::vector<AnsiString> events;
    component.OnWorkBegin = [&](TObject*, TWorkMode, std::int32_t max) {
        events.push_back("begin " + std::to_string(max));
    };
    component.OnWork = [&](TObject*, TWorkMode, std::int32_t count) {
        events.push_back("work " + std::to_string(count));
    };
    component.OnWorkEnd = [&](TObject*, TWorkMode) { events.push_back("end"); };

    component.AdvanceWork(TWorkMode::workRead, 5); // not started: nothing
    component.StartWork(TWorkMode::workRead, 100);
    component.StartWork(TWorkMode::workRead, 7);
    component.AdvanceWork(TWorkMode::workRead, 10);
    component.AdvanceWork(TWorkMode::workRead, 15);
    component.FinishWork(TWorkMode::workRead);
    component.FinishWork(TWorkMode::workRead);
    component.FinishWork(TWorkMode::workRead); // unbalanced: ignored
    component.StartWork(TWorkMode::workWrite, 1);
    EXPECT_EQ(events,
              (std::vector<AnsiString>{"begin 100", "work 10", "work 25", "end", "begin 1"}));
}

TEST(MxComponent, StatusTexts) {
    TMxComponent component;
    component.ReportStatus(TMxStatus::stConnected); // no handler: nothing happens
    std::vector<AnsiString> texts;
    component.OnStatus = [&](TObject* sender, TMxStatus, const AnsiString& text) {
        EXPECT_EQ(sender, &component);
        texts.push_back(text);
    };
    component.ReportStatus(TMxStatus::stResolving, "mail.example.com");
    component.ReportStatus(TMxStatus::stConnecting, "10.0.0.1");
    component.ReportStatus(TMxStatus::stConnected);
    component.ReportStatus(TMxStatus::stDisconnecting);
    component.ReportStatus(TMxStatus::stDisconnected);
    component.ReportStatus(TMxStatus::stStatusText, "Encoding text");
    EXPECT_EQ(texts, (std::vector<AnsiString>{"Resolving hostname mail.example.com.",
                                              "Connecting to 10.0.0.1.", "Connected.",
                                              "Disconnecting.", "Disconnected.", "Encoding text"}));
    EXPECT_FALSE(TMxComponent::GetLocalHostName().empty());
}
