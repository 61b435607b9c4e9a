// Plays the report engine's side of a conversation with one connection, one
// step per argument, and prints what each reply says:
//   reportconn_engine_emulator <namespace> <connection> <step>...
// Steps: connect, handshake, cols, first, next, row, eof, sorts, open,
// restore, release, disconnect, hex (the last reply's bytes),
// filter:<name>|<op>|<text>|<type>[;...] and raw:<hex> (a request as given).
// It decodes the wire format on its own, reading nothing out of bounds.
#include "platform/sys/FileMapping.h"
#include "platform/sys/KernelNames.h"
#include "platform/sys/NamedEvent.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Reader {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Pos;

    void Need(std::size_t Count) const {
        if (Pos > Size || Count > Size - Pos) throw std::runtime_error("reply runs past its end");
    }
    std::int32_t Int32() {
        Need(4);
        std::int32_t v;
        std::memcpy(&v, Data + Pos, 4);
        Pos += 4;
        return v;
    }
    std::int64_t Int64() {
        Need(8);
        std::int64_t v;
        std::memcpy(&v, Data + Pos, 8);
        Pos += 8;
        return v;
    }
    double Double() {
        Need(8);
        double v;
        std::memcpy(&v, Data + Pos, 8);
        Pos += 8;
        return v;
    }
    std::uint8_t Byte() {
        Need(1);
        return Data[Pos++];
    }
    std::string Bytes(std::int32_t Count) {
        if (Count < 0) throw std::runtime_error("negative length");
        Need(static_cast<std::size_t>(Count));
        std::string s(reinterpret_cast<const char*>(Data + Pos), static_cast<std::size_t>(Count));
        Pos += static_cast<std::size_t>(Count);
        return s;
    }
    std::string String() {
        std::string result;
        for (;;) {
            const std::int32_t kind = Int32();
            if (kind == 0) return result;
            std::string bytes = Bytes(Int32());
            if (kind == 1) result = bytes;
        }
    }
};

// 80-bit extended to double, for printing.
double Extended(const std::uint8_t* B) {
    std::uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i)
        mantissa |= static_cast<std::uint64_t>(B[i]) << (8 * i);
    const int signExp = B[8] | (B[9] << 8);
    double v = mantissa == 0
                   ? 0.0
                   : static_cast<double>(mantissa) * std::pow(2.0, (signExp & 0x7fff) - 16383 - 63);
    return (signExp & 0x8000) ? -v : v;
}

void PutString(std::string& Out, const std::string& S) {
    auto put32 = [&](std::int32_t v) { Out.append(reinterpret_cast<const char*>(&v), 4); };
    put32(1);
    put32(static_cast<std::int32_t>(S.size()));
    Out += S;
    put32(0);
}

std::vector<std::string> Split(const std::string& S, char Sep) {
    std::vector<std::string> parts;
    std::stringstream in(S);
    std::string part;
    while (std::getline(in, part, Sep))
        parts.push_back(part);
    return parts;
}

class Engine {
public:
    explicit Engine(const std::string& Connection)
        : FConnect("RDCCONNECT", false, false), FDisconnect("RDCDISCONNECT", true, false),
          FCompleted("RDCCOMPLETED", false, false), FData("RDCRTDATA_" + Connection, false, false),
          FAck("RDCRTACK_" + Connection, false, false),
          FMain(TFileMapping::OpenOrCreate("RDCBUFFER", 65536)) {}

    bool Step(const std::string& Step) {
        if (Step == "connect") {
            FDisconnect.ResetEvent();
            FConnect.SetEvent();
            if (!Wait(FCompleted)) return false;
            LoadReply();
            PrintHandshake();
        } else if (Step == "disconnect") {
            FDisconnect.SetEvent();
            std::printf("disconnected\n");
        } else if (Step == "handshake") {
            if (!Send(Request(11), FAck)) return false;
            PrintHandshake();
        } else if (Step == "hex") {
            std::string hex;
            char buf[3];
            for (std::size_t i = 0; i < FReplyLength; ++i) {
                std::snprintf(buf, sizeof buf, "%02x", FReply[i]);
                hex += buf;
            }
            std::printf("hex %s\n", hex.c_str());
        } else if (Step.rfind("filter:", 0) == 0) {
            std::string req = Request(6);
            for (const auto& item : Split(Step.substr(7), ';')) {
                const auto f = Split(item, '|');
                if (f.size() != 4) throw std::runtime_error("bad filter step");
                PutString(req, f[0]);
                PutString(req, f[1]);
                PutString(req, f[2]);
                const std::int32_t type = std::stoi(f[3]);
                req.append(reinterpret_cast<const char*>(&type), 4);
                if (type == 1) {
                    const std::int32_t v = std::stoi(f[2]);
                    req.append(reinterpret_cast<const char*>(&v), 4);
                }
            }
            PutString(req, "");
            return Plain(req);
        } else if (Step.rfind("raw:", 0) == 0) {
            std::string req;
            const std::string hex = Step.substr(4);
            for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
                req += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
            return Plain(req);
        } else {
            static const std::pair<const char*, int> commands[] = {
                {"first", 1}, {"next", 2}, {"eof", 3},      {"cols", 4},    {"row", 5},
                {"sorts", 7}, {"open", 9}, {"restore", 10}, {"release", 12}};
            for (const auto& [name, number] : commands) {
                if (Step == name) {
                    if (!Send(Request(number), FCompleted)) return false;
                    PrintReply(number);
                    return true;
                }
            }
            throw std::runtime_error("unknown step " + Step);
        }
        return true;
    }

private:
    static std::string Request(std::int32_t Command) {
        return std::string(reinterpret_cast<const char*>(&Command), 4);
    }

    static bool Wait(TNamedEvent& Event) {
        if (Event.WaitFor(10000) == TWaitResult::wrSignaled) return true;
        std::printf("timeout\n");
        return false;
    }

    bool Plain(const std::string& Req) {
        if (!Send(Req, FCompleted)) return false;
        PrintReply(0);
        return true;
    }

    bool Send(const std::string& Req, TNamedEvent& Done) {
        if (8 + Req.size() > FMain->Size()) throw std::runtime_error("request too large");
        std::memcpy(FMain->Data() + 8, Req.data(), Req.size());
        FData.SetEvent();
        if (!Wait(Done)) return false;
        LoadReply();
        return true;
    }

    // The reply's buffer: the main one, or the overflow buffer it names.
    void LoadReply() {
        std::int32_t header[2];
        std::memcpy(header, FMain->Data(), 8);
        FOverflow.reset();
        FReply = FMain->Data();
        FReplySize = 65536;
        FOverflowNumber = 0;
        if (header[0] == 0 && header[1] != 0) {
            FOverflow = TFileMapping::Open("RDCBUFFERALT" + std::to_string(header[1]));
            if (!FOverflow) throw std::runtime_error("overflow buffer missing");
            FReply = FOverflow->Data();
            FReplySize = FOverflow->Size();
            FOverflowNumber = header[1];
            std::memcpy(header, FReply, 8);
        }
        if (header[0] < 0 || static_cast<std::size_t>(header[0]) > FReplySize)
            throw std::runtime_error("reply length out of range");
        FReplyLength = static_cast<std::size_t>(header[0]);
    }

    void PrintHandshake() {
        Reader r{FReply, FReplySize, 8};
        const std::string name = r.String();
        const int runtime = r.Byte();
        r.Int32(); // main window
        const std::int32_t identity = r.Int32();
        const std::int32_t version = r.Int32();
        const std::int32_t visibility = r.Int32();
        std::printf("handshake %s runtime=%d version=%d visibility=%d identity=%s\n", name.c_str(),
                    runtime, version, visibility, identity > 0 ? "set" : "none");
    }

    void PrintReply(int Command) {
        if (FOverflowNumber) std::printf("overflow %d\n", FOverflowNumber);
        if (FReplyLength == 0) {
            std::printf("empty\n");
            return;
        }
        Reader r{FReply, FReplyLength, 8};
        switch (Command) {
        case 3:
            std::printf("eof %d\n", r.Byte());
            break;
        case 4: {
            const std::int32_t count = r.Int32();
            std::string line = "cols " + std::to_string(count);
            FTypes.clear();
            for (int i = 0; i < count; ++i) {
                line += " |";
                int type = 0;
                for (;;) {
                    const std::string key = r.String();
                    if (key.empty()) break;
                    const std::string value = r.String();
                    line += " " + key + "=" + value;
                    if (key == "T") type = TypeOf(value);
                }
                FTypes.push_back(type);
            }
            std::printf("%s\n", line.c_str());
            break;
        }
        case 1:
        case 2:
        case 5:
            PrintRow(r);
            break;
        case 7: {
            std::string line = "sorts";
            while (r.Pos < FReplyLength)
                line += " \"" + r.String() + "\"";
            std::printf("%s\n", line.c_str());
            break;
        }
        default:
            std::printf("reply %zu bytes\n", FReplyLength);
        }
    }

    static int TypeOf(const std::string& Name) {
        static const char* names[] = {
            "dtString", "dtInteger",  "dtBoolean", "dtFloat", "dtCurrency", "dtBCD",  "dtDate",
            "dtTime",   "dtDateTime", "dtBlob",    "dtMemo",  "dtGraphic",  "dtInt64"};
        for (int i = 0; i < 13; ++i)
            if (Name == names[i]) return i;
        throw std::runtime_error("unknown type " + Name);
    }

    void PrintRow(Reader& R) {
        if (R.Byte() == 1) {
            std::printf("end\n");
            return;
        }
        const std::int32_t length = R.Int32();
        const std::size_t table = R.Pos;
        if (length < 0 || table + static_cast<std::size_t>(length) > FReplyLength)
            throw std::runtime_error("row length out of range");
        std::string line = "row";
        for (std::size_t i = 0; i < FTypes.size(); ++i) {
            Reader t{FReply, table + length, table + 8 * i};
            const std::int32_t value = t.Int32();
            const std::int32_t display = t.Int32();
            line += " |";
            if (display > 0) {
                Reader d{FReply, table + length, table + display};
                line += " \"" + d.String() + "\" =>";
            }
            if (value == -1) {
                line += " null";
                continue;
            }
            if (value == 0) {
                line += " -";
                continue;
            }
            Reader v{FReply, table + length, table + value};
            switch (FTypes[i]) {
            case 0: {
                const std::string text = v.String();
                line += text.size() > 40 ? " <" + std::to_string(text.size()) + " bytes>"
                                         : " \"" + text + "\"";
                break;
            }
            case 1:
                line += " " + std::to_string(v.Int32());
                break;
            case 2:
                line += v.Byte() ? " true" : " false";
                break;
            case 3: {
                v.Need(10);
                std::ostringstream s;
                s << " " << Extended(v.Data + v.Pos);
                line += s.str();
                break;
            }
            case 4:
            case 5:
            case 12:
                line += " " + std::to_string(v.Int64());
                break;
            case 6:
            case 7:
            case 8: {
                std::ostringstream s;
                s << " " << v.Double();
                line += s.str();
                break;
            }
            default:
                line += " blob:" + std::to_string(v.Bytes(v.Int32()).size());
            }
        }
        std::printf("%s\n", line.c_str());
    }

    TNamedEvent FConnect, FDisconnect, FCompleted, FData, FAck;
    std::unique_ptr<TFileMapping> FMain, FOverflow;
    const std::uint8_t* FReply = nullptr;
    std::size_t FReplySize = 0, FReplyLength = 0;
    int FOverflowNumber = 0;
    std::vector<int> FTypes;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s namespace connection step...\n", argv[0]);
        return 2;
    }
    SetKernelNamespace(argv[1]);
    try {
        Engine engine(argv[2]);
        for (int i = 3; i < argc; ++i) {
            if (!engine.Step(argv[i])) return 1;
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::printf("error %s\n", e.what());
        return 1;
    }
    return 0;
}
