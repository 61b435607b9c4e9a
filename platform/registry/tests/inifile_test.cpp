#include "platform/registry/IniFiles.h"

#include "platform/rtl/testing/ScratchConfig.h"
#include "platform/rtl/testing/StringsLines.h"
#include "platform/rtl/StringList.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class IniFileTest : public ScratchConfig {};

TEST_F(IniFileTest, ValuesComeBackFromAFreshObjectAsTheFrameworkReadsThem) {
    {
        TIniFile ini("app.ini");
        EXPECT_EQ(ini.Path(), File("app.ini"));
        ini.WriteString("Main", "Caption", "Beacon Mill");
        ini.WriteString("Main", "Quoted", "\"  padded  \"");
        ini.WriteString("Main", "Single", "'x'");
        ini.WriteInteger("Main", "Count", -12);
        ini.WriteBool("Main", "Visible", true);
        ini.WriteFloat("Main", "Ratio", 2.5);
        ini.WriteString("Other", "Caption", "second");
    }
    TIniFile ini("app.ini");
    EXPECT_EQ(ini.ReadString("MAIN", "caption", ""), "Beacon Mill");
    EXPECT_EQ(ini.ReadString("Main", "Quoted", ""), "  padded  ");
    EXPECT_EQ(ini.ReadString("Main", "Single", ""), "x");
    EXPECT_EQ(ini.ReadInteger("Main", "Count", 0), -12);
    EXPECT_TRUE(ini.ReadBool("Main", "Visible", false));
    EXPECT_EQ(ini.ReadFloat("Main", "Ratio", 0), 2.5);
    EXPECT_EQ(ini.ReadString("Other", "Caption", ""), "second");
    EXPECT_EQ(ReadFile(File("app.ini")),
              "[Main]\nCaption=Beacon Mill\nQuoted=\"  padded  \"\nSingle='x'\nCount=-12\n"
              "Visible=1\nRatio=2.5\n\n[Other]\nCaption=second\n");

    WriteFile(File("app.ini"), "[N]\nhex=0x1F\ndollar=$10\nbad=12a\nfloat=x\n");
    const struct {
        const char* Ident;
        int Expected;
    } numbers[] = {{"hex", 31}, {"dollar", 16}, {"bad", 7}, {"missing", 7}};
    for (const auto& n : numbers)
        EXPECT_EQ(ini.ReadInteger("N", n.Ident, 7), n.Expected) << n.Ident;
    EXPECT_EQ(ini.ReadFloat("N", "float", 1.5), 1.5);
    EXPECT_FALSE(ini.ReadBool("N", "missing", false));
}

TEST_F(IniFileTest, EditsKeepEveryOtherLineOfTheFile) {
    const AnsiString path = File("kept.ini");
    WriteFile(path, "; written by hand\r\nstray line\r\n[Main]\r\n  Left = 10 \r\n; note\r\n"
                    "junk without equals\r\n\r\n[Old]\r\nA=1\r\n\r\n[main]\r\nLeft=99\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("main", "LEFT", ""), "10"); // the first section wins
    ini.WriteString("Main", "left", "20");
    ini.WriteString("Main", "Top", "5");
    ini.WriteString("New", "X", "1");
    ini.EraseSection("Old");
    EXPECT_EQ(ReadFile(path),
              "; written by hand\r\nstray line\r\n[Main]\r\nLeft=20\r\n; note\r\n"
              "junk without equals\r\nTop=5\r\n\r\n[main]\r\nLeft=99\r\n\r\n[New]\r\nX=1\r\n");

    TStringList list;
    ini.ReadSections(&list);
    EXPECT_THAT(Lines(list), ElementsAre("Main", "New"));
    ini.ReadSectionValues("MAIN", &list);
    EXPECT_THAT(Lines(list), ElementsAre("Left=20", "Top=5"));
    EXPECT_TRUE(ini.ValueExists("Main", "TOP"));
    EXPECT_FALSE(ini.ValueExists("Main", "Width"));

    // Deleting a key takes every copy, so no duplicate shows through afterwards.
    ini.DeleteKey("Main", "Left");
    EXPECT_EQ(ini.ReadString("Main", "Left", "gone"), "gone");
    ini.DeleteKey("Main", "Top");
    EXPECT_FALSE(ini.SectionExists("Main")); // a section with no values counts as absent
    EXPECT_TRUE(ini.SectionExists("New"));
}

TEST_F(IniFileTest, WritesThatWouldBreakTheFileAreRefused) {
    TIniFile ini("safe.ini");
    ini.WriteString("S", "Kept", "1");
    const AnsiString before = ReadFile(File("safe.ini"));
    const struct {
        const char *Section, *Ident, *Value;
    } cases[] = {
        {"S", "Key", "line\n[Injected]\nA=1"},
        {"S", "Key", "cr\r"},
        {"S", "A=B", "1"},
        {"S", "Two\nLines", "1"},
        {"Bad]Name", "Key", "1"},
        {"Bad\nName", "Key", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Ident);
        try {
            ini.WriteString(c.Section, c.Ident, c.Value);
            ADD_FAILURE() << "the write must be refused";
        } catch (const EIniFileException& error) {
            EXPECT_THAT(error.Message, HasSubstr(File("safe.ini")));
        }
    }
    EXPECT_EQ(ReadFile(File("safe.ini")), before);
}

TEST_F(IniFileTest, ReplacesTheFileSafely) {
    // The link stays a link and its target gets the change; the mode is kept.
    const AnsiString target = File("real.ini");
    WriteFile(target, "[S]\nA=1\n");
    chmod(target.c_str(), 0640);
    std::filesystem::create_symlink(target, File("link.ini"));
    TIniFile(File("link.ini")).WriteString("S", "B", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(File("link.ini")));
    EXPECT_EQ(ReadFile(target), "[S]\nA=1\nB=2\n");
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // A folder that cannot be written to raises, naming the file.
    TIniFile missing(Folder + "/no/such/folder/x.ini");
    EXPECT_EQ(missing.ReadString("S", "A", "default"), "default");
    try {
        missing.WriteString("S", "A", "1");
        ADD_FAILURE() << "the write must raise";
    } catch (const EIniFileException& error) {
        EXPECT_THAT(error.Message, HasSubstr(Folder + "/no/such/folder/x.ini"));
    }
}

TEST_F(IniFileTest, WritersInTwoProcessesKeepEachOthersValues) {
    constexpr int PerChild = 40;
    InChildren(2, [](int child) {
        for (int i = 0; i < PerChild; ++i)
            TIniFile("shared.ini").WriteInteger("S" + std::to_string(child), std::to_string(i), i);
    });
    TIniFile ini("shared.ini");
    TStringList names;
    for (const char* section : {"S0", "S1"}) {
        ini.ReadSection(section, &names);
        EXPECT_EQ(names.Count(), PerChild) << section;
    }
}

} // namespace
