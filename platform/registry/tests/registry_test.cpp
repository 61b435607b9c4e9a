#include "platform/registry/Registry.h"

#include "platform/rtl/testing/ScratchConfig.h"
#include "platform/rtl/testing/StringsLines.h"
#include "platform/rtl/StringList.h"

#include <gmock/gmock.h>

#include <climits>
#include <cstring>
#include <functional>
#include <sys/stat.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

AnsiString MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ERegistryException& error) {
        return error.Message;
    }
    return "(nothing raised)";
}

class RegistryTest : public ScratchConfig {};

TEST_F(RegistryTest, EveryValueTypeComesBackFromAFreshObjectWithItsType) {
    const AnsiString awkward = "a \"quoted\" C:\\path\nline\ttab\x01\x7f caf\xC3\xA9";
    const char binary[] = {0, '\n', '"', static_cast<char>(0xFF), '\\'};
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Pellworth\\Types", true));
        reg.WriteString("Text", awkward);
        reg.WriteString("Empty", "");
        reg.WriteExpandString("Expand", "%HOME%/x");
        reg.WriteInteger("Negative", -1);
        reg.WriteInteger("Lowest", INT_MIN);
        reg.WriteBool("Flag", true);
        reg.WriteFloat("Ratio", 0.1);
        reg.WriteDateTime("When", TDateTime(45000.75));
        reg.WriteBinaryData("Blob", binary, sizeof binary);
        reg.WriteBinaryData("NoBytes", nullptr, 0);
        reg.WriteString("", "unnamed");
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Pellworth\\Types", false));
    EXPECT_EQ(reg.ReadString("Text"), awkward);
    EXPECT_EQ(reg.ReadString("Empty"), "");
    EXPECT_EQ(reg.ReadString("Expand"), "%HOME%/x");
    EXPECT_EQ(reg.ReadInteger("Negative"), -1);
    EXPECT_EQ(reg.ReadInteger("Lowest"), INT_MIN);
    EXPECT_TRUE(reg.ReadBool("Flag"));
    EXPECT_EQ(reg.ReadFloat("Ratio"), 0.1);
    EXPECT_EQ(reg.ReadDateTime("When").Val, 45000.75);
    char buffer[16] = {};
    ASSERT_EQ(reg.ReadBinaryData("Blob", buffer, sizeof buffer), 5);
    EXPECT_EQ(std::memcmp(buffer, binary, sizeof binary), 0);
    EXPECT_EQ(reg.ReadBinaryData("NoBytes", buffer, sizeof buffer), 0);
    EXPECT_EQ(reg.ReadString(""), "unnamed");

    struct Expected {
        const char* Name;
        TRegDataType Type;
        int Size;
    };
    const Expected expected[] = {
        {"Text", rdString, int(awkward.size()) + 1},
        {"Empty", rdString, 1},
        {"Expand", rdExpandString, 9},
        {"Negative", rdInteger, 4},
        {"Flag", rdInteger, 4},
        {"Ratio", rdBinary, 8},
        {"When", rdBinary, 8},
        {"Blob", rdBinary, 5},
        {"NoBytes", rdBinary, 0},
        {"Missing", rdUnknown, -1},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.Name);
        EXPECT_EQ(reg.GetDataType(e.Name), e.Type);
        EXPECT_EQ(reg.GetDataSize(e.Name), e.Size);
        EXPECT_EQ(reg.ValueExists(e.Name), e.Type != rdUnknown);
    }
}

TEST_F(RegistryTest, NamesCompareWithoutCaseAndKeepTheirFirstCase) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Pellworth\\Grid", true));
    reg.WriteInteger("ColumnCount", 3);
    reg.WriteInteger("COLUMNCOUNT", 4);
    reg.CloseKey();

    TRegistry other;
    ASSERT_TRUE(other.OpenKey("SOFTWARE\\pellworth\\gRID", false));
    EXPECT_EQ(other.ReadInteger("columncount"), 4);
    TStringList names;
    other.GetValueNames(&names);
    EXPECT_THAT(Lines(names), ElementsAre("ColumnCount"));
    ASSERT_TRUE(other.OpenKey("\\software", false));
    other.GetKeyNames(&names);
    EXPECT_THAT(Lines(names), ElementsAre("Pellworth"));
    EXPECT_TRUE(other.DeleteKey("PELLWORTH"));
    EXPECT_FALSE(other.KeyExists("Pellworth"));
}

TEST_F(RegistryTest, ReadsOfAnotherTypeRaiseTheFrameworkMessage) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Types", true));
    reg.WriteInteger("Int", 7);
    reg.WriteString("Str", "7");
    const char four[4] = {1, 2, 3, 4};
    reg.WriteBinaryData("Bin4", four, 4);

    char small[2];
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"Int", [&] { reg.ReadString("Int"); }},
        {"Str", [&] { reg.ReadInteger("Str"); }},
        {"Str", [&] { reg.ReadBool("Str"); }},
        {"Bin4", [&] { reg.ReadInteger("Bin4"); }},
        {"Str", [&] { reg.ReadFloat("Str"); }},
        {"Bin4", [&] { reg.ReadFloat("Bin4"); }},
        {"Int", [&] { reg.ReadDateTime("Int"); }},
        {"Int", [&] { reg.ReadBinaryData("Int", small, sizeof small); }},
        {"Bin4", [&] { reg.ReadBinaryData("Bin4", small, sizeof small); }},
    };
    for (const auto& [name, read] : cases)
        EXPECT_EQ(MessageOf(read), "Invalid data type for '" + AnsiString(name) + "'");

    EXPECT_EQ(MessageOf([&] { reg.ReadInteger("Absent"); }), "Failed to get data for 'Absent'");
    EXPECT_EQ(MessageOf([&] { reg.ReadFloat("Absent"); }), "Failed to get data for 'Absent'");
    EXPECT_EQ(reg.ReadString("Absent"), "");
    EXPECT_EQ(reg.ReadBinaryData("Absent", small, sizeof small), 0);
    // The failed reads changed nothing.
    EXPECT_EQ(reg.ReadInteger("Int"), 7);
    EXPECT_EQ(reg.ReadString("Str"), "7");
}

TEST_F(RegistryTest, KeysOpenRelativeToTheOpenKeyOrFromTheRoot) {
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Missing", false));
    EXPECT_FALSE(reg.KeyExists("Software\\Missing"));
    EXPECT_EQ(reg.CurrentPath(), "");

    ASSERT_TRUE(reg.OpenKey("Software", true));
    ASSERT_TRUE(reg.OpenKey("Pellworth\\Dornwick", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Pellworth\\Dornwick");
    EXPECT_TRUE(reg.KeyExists("\\Software\\Pellworth"));
    EXPECT_FALSE(reg.KeyExists("Software")); // relative: Software\Pellworth\Dornwick\Software
    EXPECT_TRUE(reg.CreateKey("Beacon Mill\\Deep"));
    EXPECT_TRUE(reg.HasSubKeys());
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_EQ(reg.CurrentPath(), "Software");
    EXPECT_TRUE(reg.KeyExists("Pellworth\\Dornwick\\Beacon Mill\\Deep"));

    // Deleting a key takes its subkeys and values with it.
    ASSERT_TRUE(reg.OpenKey("Pellworth\\Dornwick\\Beacon Mill", false));
    reg.WriteString("NormPos", "1,2,3,4");
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_TRUE(reg.DeleteKey("Pellworth\\Dornwick"));
    EXPECT_FALSE(reg.KeyExists("Pellworth\\Dornwick\\Beacon Mill"));
    EXPECT_FALSE(reg.DeleteKey("Pellworth\\Dornwick"));
    EXPECT_TRUE(reg.KeyExists("Pellworth"));
    EXPECT_FALSE(reg.DeleteKey("")); // never the open key itself

    for (const char* invalid : {"a\\\\b", "\\\\a", "bad\x01name"}) {
        SCOPED_TRACE(invalid);
        EXPECT_FALSE(reg.OpenKey(invalid, true));
        EXPECT_EQ(MessageOf([&] { reg.CreateKey(invalid); }),
                  "Failed to create key " + AnsiString(invalid));
    }
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), "");
}

TEST_F(RegistryTest, WritesWithoutWriteAccessFailAndChangeNothing) {
    {
        TRegistry writer;
        ASSERT_TRUE(writer.OpenKey("Software\\Locked", true));
        writer.WriteString("Kept", "yes");
    }
    const AnsiString before = ReadFile(File("HKEY_CURRENT_USER.reg"));

    TRegistry reg;
    EXPECT_EQ(MessageOf([&] { reg.WriteString("Any", "x"); }), "Failed to set data for 'Any'");
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Locked"));
    EXPECT_EQ(reg.Access(), KEY_READ);
    EXPECT_EQ(reg.ReadString("Kept"), "yes");
    EXPECT_EQ(MessageOf([&] { reg.WriteString("Kept", "no"); }), "Failed to set data for 'Kept'");
    EXPECT_EQ(MessageOf([&] { reg.WriteInteger("New", 1); }), "Failed to set data for 'New'");
    EXPECT_FALSE(reg.DeleteValue("Kept"));
    EXPECT_FALSE(reg.OpenKey("Sub", true)); // no subkey through a read-only key
    EXPECT_EQ(ReadFile(File("HKEY_CURRENT_USER.reg")), before);

    // A key deleted by someone else after it was opened takes no more writes.
    TRegistry opened;
    ASSERT_TRUE(opened.OpenKey("Software\\Locked", false));
    TRegistry().DeleteKey("Software\\Locked");
    EXPECT_EQ(MessageOf([&] { opened.WriteString("Late", "x"); }), "Failed to set data for 'Late'");
    EXPECT_FALSE(opened.ValueExists("Kept"));
}

TEST_F(RegistryTest, EachRootIsAReadableFileOfItsOwn) {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("Software\\Pellworth\\Grid", true));
    reg.WriteInteger("ColumnCount", 3);
    reg.WriteString("ColumnWidths", "64,120,30");
    reg.WriteString("", "default \"value\"");
    reg.WriteBinaryData("Blob", "\x01\xab", 2);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Empty", true));

    reg.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_EQ(reg.CurrentPath(), ""); // changing the root closes the key
    EXPECT_FALSE(reg.KeyExists("Software\\Pellworth"));

    EXPECT_EQ(ReadFile(File("HKEY_LOCAL_MACHINE.reg")),
              "; Beaconmill registry: HKEY_LOCAL_MACHINE\n"
              "; Values: \"text\", expand:\"text\", dword:<8 hex digits>, hex:<bytes>\n"
              "\n[Software\\Empty]\n"
              "\n[Software\\Pellworth\\Grid]\n"
              "\"ColumnCount\"=dword:00000003\n"
              "\"ColumnWidths\"=\"64,120,30\"\n"
              "@=\"default \\\"value\\\"\"\n"
              "\"Blob\"=hex:01,ab\n");
    struct stat info {};
    ASSERT_EQ(stat(File("HKEY_LOCAL_MACHINE.reg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // A file edited by hand, with comments, blanks and CR LF line ends, reads as well.
    WriteFile(File("HKEY_USERS.reg"), "; edited\r\n\r\n  [A\\B]  \r\n \"n\" = dword:ff \r\n"
                                      "\"s\"= \"x\\x41\"\r\n\"b\"=hex: 01 , 02\r\n");
    reg.SetRootKey(HKEY_USERS);
    ASSERT_TRUE(reg.OpenKey("a\\b", false));
    EXPECT_EQ(reg.ReadInteger("N"), 255);
    EXPECT_EQ(reg.ReadString("S"), "xA");
    EXPECT_EQ(reg.GetDataSize("B"), 2);

    // An unknown root opens nothing.
    reg.SetRootKey(static_cast<HKEY>(42));
    EXPECT_FALSE(reg.OpenKey("Software", true));
}

TEST_F(RegistryTest, ADamagedFileRaisesNamingItAndIsLeftAlone) {
    const AnsiString path = File("HKEY_CURRENT_USER.reg");
    const struct {
        const char* Text;
        const char* Reason;
    } cases[] = {
        {"\"x\"=\"1\"\n", "line 1: a value stands before the first key header"},
        {"[A]\n\"x\"=\"open\n", "line 2: the quoted text has no closing quote"},
        {"[A]\n\"x\"=dword:123456789\n", "line 2: a dword has more than eight"},
        {"[A]\n\"x\"=hex:1,2\n", "line 2: binary data needs pairs"},
        {"[A]\n\"x\"=\"1\"\n\"X\"=\"2\"\n", "line 3: the value 'X' appears twice"},
        {"[A\\\\B]\n", "line 1: invalid key path"},
        {"[A]\n\"x\"=\"bad\\q\"\n", "line 2: unknown escape \\q"},
        {"[A]\n\"x\"=\"1\" trailing\n", "line 2: unexpected text after the value"},
        {"\x7f"
         "ELF\x02\x01\x01\n\x00\x00",
         "line 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        WriteFile(path, c.Text);
        TRegistry reg;
        const AnsiString message = MessageOf([&] { reg.OpenKey("A", true); });
        EXPECT_THAT(message, HasSubstr("Registry file " + path + " is damaged at " + c.Reason));
        EXPECT_THAT(MessageOf([&] { reg.CreateKey("\\Fresh"); }), HasSubstr(path));
        EXPECT_EQ(ReadFile(path), c.Text);
    }
}

TEST_F(RegistryTest, AnUnreadableFileRaisesNamingIt) {
    const AnsiString path = File("HKEY_CURRENT_USER.reg");
    std::filesystem::create_directory(path);
    TRegistry reg;
    EXPECT_EQ(MessageOf([&] { reg.OpenKey("A", true); }),
              "Cannot read " + path + ": not a regular file");
    std::filesystem::remove(path);

    if (geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
    WriteFile(path, "[A]\n");
    chmod(path.c_str(), 0);
    EXPECT_EQ(MessageOf([&] { reg.OpenKey("A", false); }),
              "Cannot read " + path + ": Permission denied");
}

TEST_F(RegistryTest, WritersInTwoProcessesKeepEachOthersValues) {
    constexpr int PerChild = 40;
    InChildren(2, [](int child) {
        for (int i = 0; i < PerChild; ++i) {
            TRegistry reg;
            if (!reg.OpenKey("Software\\Shared", true)) throw 1;
            reg.WriteInteger("Child" + std::to_string(child) + "." + std::to_string(i), i);
        }
    });
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Shared", false));
    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(names.Count(), 2 * PerChild);
    EXPECT_EQ(reg.ReadInteger("Child1.39"), 39);
}

} // namespace
