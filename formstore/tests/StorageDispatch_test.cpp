#include "formstore/StorageDispatch.h"

#include "platform/rtl/testing/ScratchConfig.h"

#include "platform/registry/IniFiles.h"
#include "platform/registry/RegIniFile.h"
#include "platform/rtl/StringList.h"

#include <functional>
#include <memory>

using namespace formstore;

namespace {

const AnsiString Key = "Software\\Pellworth\\Tests";

class StorageDispatch : public ScratchConfig {
protected:
    // Each kind of storage object, made afresh so every read goes to the store.
    std::vector<std::pair<const char*, std::function<std::unique_ptr<TObject>()>>> Kinds() {
        return {
            {"registry", [] { return std::make_unique<TRegIniFile>(Key); }},
            {"ini file", [this] { return std::make_unique<TIniFile>(File("tests.ini")); }},
        };
    }
};

TEST_F(StorageDispatch, QuotedTextsReadBackUnchangedInEitherStore) {
    const AnsiString Values[] = {"\"quoted\"", "'single'", "\"", "plain", "\"half", ""};
    for (auto& [Kind, Make] : Kinds())
        for (const AnsiString& Value : Values) {
            IniWriteString(Make().get(), "Sec", "Name", Value);
            EXPECT_EQ(IniReadString(Make().get(), "Sec", "Name", "default"), Value)
                << Kind << ": " << Value;
        }
    // The registry keeps the text as it is, with no wrapping quotes.
    TRegIniFile Reg(Key);
    IniWriteString(&Reg, "Sec", "Name", "\"quoted\"");
    EXPECT_EQ(Reg.ReadString("Sec", "Name", ""), "\"quoted\"");
}

TEST_F(StorageDispatch, NumbersAndBooleansAreDecimalText) {
    for (auto& [Kind, Make] : Kinds()) {
        IniWriteInteger(Make().get(), "Sec", "Int", -42);
        IniWriteBool(Make().get(), "Sec", "Yes", true);
        IniWriteString(Make().get(), "Sec", "Bad", "12abc");
        IniWriteString(Make().get(), "Sec", "Two", "2");
        EXPECT_EQ(IniReadString(Make().get(), "Sec", "Int", ""), "-42") << Kind;
        EXPECT_EQ(IniReadString(Make().get(), "Sec", "Yes", ""), "1") << Kind;
        EXPECT_EQ(IniReadInteger(Make().get(), "Sec", "Int", 7), -42) << Kind;
        EXPECT_EQ(IniReadInteger(Make().get(), "Sec", "Bad", 7), 7) << Kind;
        EXPECT_EQ(IniReadInteger(Make().get(), "Sec", "Missing", 7), 7) << Kind;
        EXPECT_TRUE(IniReadBool(Make().get(), "Sec", "Two", false)) << Kind;
        EXPECT_TRUE(IniReadBool(Make().get(), "Sec", "Missing", true)) << Kind;
    }
}

TEST_F(StorageDispatch, ARegistryValueOfAnotherTypeRaisesAndCanBeOverwritten) {
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey(Key + "\\Sec", true));
        Reg.WriteInteger("Flags", 3);
        const char Bytes[] = {1, 2};
        Reg.WriteBinaryData("NormPos", Bytes, sizeof Bytes);
    }
    TRegIniFile Ini(Key);
    const auto MessageOf = [](const std::function<void()>& Read) {
        try {
            Read();
        } catch (const ERegistryException& E) {
            return E.Message;
        }
        return AnsiString("no error");
    };
    EXPECT_EQ(MessageOf([&] { IniReadString(&Ini, "Sec", "NormPos", "none"); }),
              "Invalid data type for 'NormPos'");
    EXPECT_EQ(MessageOf([&] { IniReadInteger(&Ini, "Sec", "Flags", 9); }),
              "Invalid data type for 'Flags'");
    IniWriteInteger(&Ini, "Sec", "Flags", 5);
    EXPECT_EQ(IniReadInteger(&Ini, "Sec", "Flags", 9), 5);
    TRegistry Check;
    ASSERT_TRUE(Check.OpenKey(Key + "\\Sec", false));
    EXPECT_EQ(Check.GetDataType("Flags"), rdString);
}

TEST_F(StorageDispatch, ADamagedStoreStillRaises) {
    TRegIniFile Reg(Key);
    IniWriteString(&Reg, "Sec", "Name", "x");
    for (const auto& Entry : std::filesystem::directory_iterator(Folder))
        WriteFile(Entry.path().string(), "not a registry file\n");
    EXPECT_THROW(IniReadString(&Reg, "Sec", "Name", ""), ERegistryException);
}

TEST_F(StorageDispatch, SectionsAreListedAndErasedInEitherStore) {
    for (auto& [Kind, Make] : Kinds()) {
        IniWriteString(Make().get(), "One", "A", "1");
        IniWriteString(Make().get(), "Two", "B", "2");
        IniWriteString(Make().get(), "Two", "C", "3");
        IniDeleteKey(Make().get(), "Two", "B");
        EXPECT_EQ(IniReadString(Make().get(), "Two", "B", "gone"), "gone") << Kind;
        EXPECT_EQ(IniReadString(Make().get(), "Two", "C", ""), "3") << Kind;
        IniEraseSection(Make().get(), "One");
        TStringList Sections;
        IniReadSections(Make().get(), &Sections);
        EXPECT_EQ(Sections.Count(), 1) << Kind;
        EXPECT_EQ(Sections.IndexOf("Two"), 0) << Kind;
    }
}

TEST_F(StorageDispatch, OtherObjectsReadDefaultsAndIgnoreWrites) {
    TStringList NotAStore;
    IniWriteString(&NotAStore, "Sec", "Name", "x");
    EXPECT_EQ(IniReadString(&NotAStore, "Sec", "Name", "d"), "d");
    EXPECT_EQ(IniReadInteger(nullptr, "Sec", "Name", 4), 4);
    EXPECT_EQ(NotAStore.Count(), 0);
}

TEST(IniLineText, LineBreaksBecomeBackslashN) {
    struct Case {
        AnsiString Text;
        AnsiString Line;
    } cases[] = {
        {"a\r\nb", "a\\nb"},
        {"a\n\rb", "a\\nb"},
        {"a\nb\rc", "a\\nb\\nc"},
        {"a\r\n\r\nb", "a\\n\\nb"},
        {AnsiString("ab\0cd", 5), "ab"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrToIniStr(c.Text), c.Line) << c.Text;
    EXPECT_EQ(IniStrToStr("a\\nb\\x"), "a\r\nb\\x");
    EXPECT_EQ(IniStrToStr(StrToIniStr("one\r\ntwo")), "one\r\ntwo");
}

TEST(IniLineText, LongTextsRaiseAndConversionHasNoFixedBuffer) {
    EXPECT_THROW(
        try { StrToIniStr(AnsiString(4097, 'x')); } catch (const Exception& E) {
            EXPECT_EQ(E.Message, "Line too long");
            throw;
        },
        Exception);
    EXPECT_THROW(IniStrToStr(AnsiString(4097, 'x')), Exception);
    // 4096 line breaks double in length and still convert whole.
    EXPECT_EQ(StrToIniStr(AnsiString(4096, '\n')).size(), 8192u);
}

} // namespace
