#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

AnsiString Contents(TCustomMemoryStream& s) {
    return AnsiString(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.GetSize()));
}

AnsiString ReadFileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return AnsiString(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class E> AnsiString MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.Message;
    }
    return "(nothing raised)";
}

// A source that hands over a few bytes and then fails, as a broken file or
// connection would.
class FailingStream : public TStream {
public:
    int Read(void* Buffer, int Count) override {
        int n = std::min(Count, 2);
        std::memset(Buffer, 'x', static_cast<std::size_t>(n));
        return n;
    }
    int Write(const void*, int) override { return 0; }
    std::int64_t Seek(std::int64_t, TSeekOrigin) override { return 0; }
    std::int64_t GetSize() override { return 10; }
};

class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/streams_test.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    AnsiString PathOf(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

} // namespace

TEST(MemoryStream, SeekEdgesAndGapsReadAsZero) {
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    EXPECT_EQ(s.Seek(-2, soEnd), 4);
    char two[2];
    s.ReadBuffer(two, 2);
    EXPECT_EQ(AnsiString(two, 2), "ef");

    // Past the end nothing is read; a write there extends with zero bytes.
    EXPECT_EQ(s.Seek(3, soCurrent), 9);
    EXPECT_EQ(s.Read(two, 2), 0);
    s.WriteBuffer("Z", 1);
    EXPECT_EQ(Contents(s), AnsiString("abcdef\0\0\0Z", 10));

    // Before the start nothing moves either way.
    EXPECT_EQ(s.Seek(-1, soBeginning), -1);
    EXPECT_EQ(s.Read(two, 1), 0);
    EXPECT_EQ(s.Write("q", 1), 0);
    EXPECT_EQ(s.GetSize(), 10);
}

TEST(MemoryStream, SetSizeKeepsPositionInsideAndZeroFillsGrowth) {
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    s.SetSize(3);
    EXPECT_EQ(s.GetPosition(), 3);
    s.SetSize(5);
    EXPECT_EQ(Contents(s), AnsiString("abc\0\0", 5));
    EXPECT_EQ(s.GetPosition(), 3);
    s.Clear();
    EXPECT_EQ(s.GetSize(), 0);
    EXPECT_EQ(s.GetPosition(), 0);
}

TEST(Stream, ShortTransfersRaise) {
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    s.SetPosition(1);
    char buffer[8];
    EXPECT_EQ(MessageOf<EReadError>([&] { s.ReadBuffer(buffer, 3); }), "Stream read error");
    FailingStream sink;
    EXPECT_EQ(MessageOf<EWriteError>([&] { sink.WriteBuffer("abc", 3); }), "Stream write error");
    // Nothing asked, nothing to fail.
    sink.ReadBuffer(buffer, 0);
    sink.WriteBuffer(buffer, 0);
}

TEST(Stream, CopyFrom) {
    TStringStream source("0123456789");
    TMemoryStream target;

    source.SetPosition(7);
    EXPECT_EQ(target.CopyFrom(&source, 0), 10); // 0 = all of it, from the start
    source.SetPosition(2);
    EXPECT_EQ(target.CopyFrom(&source, 3), 3); // else from where the source is
    EXPECT_EQ(Contents(target), "0123456789234");

    source.SetPosition(8);
    EXPECT_THROW(target.CopyFrom(&source, 5), EReadError);
}

TEST(Stream, CopyFromLargerThanOneSlice) {
    AnsiString big(200000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    TStringStream source(big);
    TMemoryStream target;
    EXPECT_EQ(target.CopyFrom(&source, 0), 200000);
    EXPECT_EQ(Contents(target), big);
}

TEST(MemoryStream, FailedLoadKeepsPreviousContents) {
    TMemoryStream s;
    s.WriteBuffer("keep", 4);
    FailingStream broken;
    EXPECT_THROW(s.LoadFromStream(&broken), EReadError);
    EXPECT_EQ(Contents(s), "keep");

    TStringStream good("new");
    s.LoadFromStream(&good);
    EXPECT_EQ(Contents(s), "new");
    EXPECT_EQ(s.GetPosition(), 3); // a position past the new end moves to it
}

TEST(StringStream, WritesOverwriteAndSeeksStayInside) {
    TStringStream s("hello world");
    s.SetPosition(6);
    s.WriteString("W");
    EXPECT_EQ(s.DataString(), "hello World");
    s.Seek(-3, soEnd);
    s.WriteString("LDS!");
    EXPECT_EQ(s.DataString(), "hello WoLDS!");

    EXPECT_EQ(s.Seek(100, soBeginning), 12);
    EXPECT_EQ(s.Seek(-100, soCurrent), 0);
    EXPECT_EQ(s.ReadString(5), "hello");
    EXPECT_EQ(s.ReadString(100), " WoLDS!");
    EXPECT_EQ(s.ReadString(3), "");

    s.SetSize(5);
    EXPECT_EQ(s.DataString(), "hello");
    EXPECT_EQ(s.GetPosition(), 5);
}

TEST_F(FileStreamTest, FileStreamWritesAndReadsBack) {
    AnsiString name = PathOf("data.bin");
    {
        TFileStream out(name, fmCreate | fmShareExclusive);
        out.WriteBuffer("0123456789", 10);
        out.SetSize(6); // truncates; the position follows
        EXPECT_EQ(out.GetPosition(), 6);
        out.WriteBuffer("X", 1);
    }
    TFileStream in(name, fmOpenRead | fmShareDenyNone);
    EXPECT_EQ(in.GetSize(), 7);
    EXPECT_EQ(in.Seek(-2, soEnd), 5);
    char buffer[4];
    EXPECT_EQ(in.Read(buffer, 4), 2);
    EXPECT_EQ(AnsiString(buffer, 2), "5X");
    EXPECT_THROW(in.WriteBuffer("a", 1), EWriteError); // opened for reading only
    EXPECT_EQ(in.Seek(-1, soBeginning), -1);

    TFileStream again(name, fmCreate);
    EXPECT_EQ(again.GetSize(), 0); // create empties an existing file
}

TEST_F(FileStreamTest, FileErrorsNameTheFileAndTheReason) {
    AnsiString missing = PathOf("missing.txt");
    AnsiString inMissingDir = PathOf("nodir/x.txt");
    AnsiString directory = dir.string();

    EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream(missing, fmOpenRead); }),
              "Cannot open file \"" + missing + "\". No such file or directory");
    EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream(directory, fmOpenRead); }),
              "Cannot open file \"" + directory + "\". Is a directory");
    EXPECT_EQ(MessageOf<EFCreateError>([&] { TFileStream(inMissingDir, fmCreate); }),
              "Cannot create file \"" + inMissingDir + "\". No such file or directory");

    TMemoryStream s;
    EXPECT_EQ(MessageOf<EFOpenError>([&] { s.LoadFromFile(missing); }),
              "Cannot open file \"" + missing + "\". No such file or directory");
    EXPECT_EQ(MessageOf<EFCreateError>([&] { s.SaveToFile(inMissingDir); }),
              "Cannot create file \"" + inMissingDir + "\". No such file or directory");
}

TEST_F(FileStreamTest, SaveToFileReplacesWholeFileAndLeavesNothingBehind) {
    AnsiString name = PathOf("saved.txt");
    {
        std::ofstream old(name);
        old << "a much longer previous content";
    }
    ::chmod(name.c_str(), 0640);

    TMemoryStream s;
    s.WriteBuffer("new", 3);
    s.SaveToFile(name);
    EXPECT_EQ(ReadFileText(name), "new");

    struct stat info {};
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    TMemoryStream loaded;
    loaded.LoadFromFile(name);
    EXPECT_EQ(Contents(loaded), "new");
}
