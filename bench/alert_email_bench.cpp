// Composing and sending one run's alert e-mails, 1,000 recipients with three
// alerts each, to an SMTP sink on loopback, beside Python's smtplib sending
// the same messages (the client's own bytes, headers and all, as the sink
// took them) to the same sink (the reference), beside the same
// conversation with the same bytes written on a bare socket, and beside
// composing alone, so the ratios show what the mail client and the layout
// cost.
#include "alert/app/AlertEmail.h"
#include "alert/app/AlertMailTransport.h"
#include "alert/app/SmtpAlertMailer.h"
#include "mail/MxSMTP.h"
#include "platform/rtl/DateTime.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Recipients = 1000;

std::vector<AlertEmailRow> DueRows() {
    std::vector<AlertEmailRow> Rows;
    for (int R = 1; R <= Recipients; ++R) {
        const AnsiString Address = "emp" + std::to_string(R) + "@shop.example";
        auto Add = [&](int AlertNbr, int Priority, int JobNbr, const AnsiString& Descr) {
            AlertEmailRow Row;
            Row.AlertRecipientNbr = R;
            Row.AlertEmail = Address;
            Row.AlertNbr = AlertNbr;
            Row.Priority = Priority;
            Row.JobNbr = JobNbr;
            Row.JobId = "J-" + std::to_string(JobNbr);
            Row.JobDescr = "Bridge deck";
            Row.Descr = Descr;
            Row.DateGenerated = EncodeDate(2024, 5, 6) + EncodeTime(9, 30, 0, 0);
            Rows.push_back(Row);
        };
        Add(27, 2, 12, "Job status changed to Active from Bid.\nJob: J-12 - Bridge deck.");
        Add(31, 1, 12, "Open PO 4410 request by date is tomorrow.");
        Add(49, 0, -1, "Bob Hay daily hours of 13 exceed 12.\nEdited by: Ann Lee.");
    }
    return Rows;
}

// Reads CR LF lines from a socket.
class LineReader {
public:
    explicit LineReader(int Fd) : FFd(Fd) {}
    bool Next(std::string& Line) {
        while (true) {
            const std::size_t End = FBuffer.find("\r\n", FStart);
            if (End != std::string::npos) {
                Line.assign(FBuffer, FStart, End - FStart);
                FStart = End + 2;
                return true;
            }
            FBuffer.erase(0, FStart);
            FStart = 0;
            char Chunk[65536];
            const ssize_t Got = recv(FFd, Chunk, sizeof Chunk, 0);
            if (Got <= 0) return false;
            FBuffer.append(Chunk, static_cast<std::size_t>(Got));
        }
    }

private:
    int FFd;
    std::string FBuffer;
    std::size_t FStart = 0;
};

void WriteAll(int Fd, const std::string& Text) {
    std::size_t Done = 0;
    while (Done < Text.size()) {
        const ssize_t Put = send(Fd, Text.data() + Done, Text.size() - Done, MSG_NOSIGNAL);
        if (Put <= 0) throw std::runtime_error("send failed");
        Done += static_cast<std::size_t>(Put);
    }
}

// An SMTP server that takes every message and keeps nothing, one
// connection at a time, on a thread of its own.
class SmtpSink {
public:
    SmtpSink() {
        FListener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in Address{};
        Address.sin_family = AF_INET;
        Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(FListener, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0 ||
            listen(FListener, 4) != 0)
            throw std::runtime_error("the sink cannot listen");
        socklen_t Length = sizeof Address;
        getsockname(FListener, reinterpret_cast<sockaddr*>(&Address), &Length);
        FPort = ntohs(Address.sin_port);
        FThread = std::thread([this] { Serve(); });
    }
    ~SmtpSink() {
        shutdown(FListener, SHUT_RDWR);
        close(FListener);
        FThread.join();
    }
    int Port() const { return FPort; }
    long Messages() const { return FMessages.load(); }

    // While on, the sink keeps the text of every message it takes, as it
    // was before dot-stuffing.
    void Capture(bool On) {
        const std::lock_guard<std::mutex> Lock(FCaptureMutex);
        FCapturing = On;
        if (On) FCaptured.clear();
    }
    std::vector<std::string> Captured() {
        const std::lock_guard<std::mutex> Lock(FCaptureMutex);
        return FCaptured;
    }

private:
    void Serve() {
        while (true) {
            const int Fd = accept(FListener, nullptr, nullptr);
            if (Fd < 0) return;
            try {
                Converse(Fd);
            } catch (const std::exception&) {
                // The client went away; wait for the next one.
            }
            close(Fd);
        }
    }

    void Converse(int Fd) {
        LineReader Reader(Fd);
        WriteAll(Fd, "220 sink ready\r\n");
        std::string Line;
        while (Reader.Next(Line)) {
            // Verbs in any case, as RFC 5321 has them (smtplib writes them small).
            std::string Verb = Line.substr(0, 4);
            for (char& C : Verb)
                C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
            if (Verb == "EHLO" || Verb == "HELO") {
                WriteAll(Fd, "250 sink\r\n");
            } else if (Verb == "DATA") {
                WriteAll(Fd, "354 go ahead\r\n");
                std::string Text;
                while (Reader.Next(Line) && Line != ".") {
                    Text.append(Line, Line.starts_with("..") ? 1 : 0);
                    Text += "\r\n";
                }
                {
                    const std::lock_guard<std::mutex> Lock(FCaptureMutex);
                    if (FCapturing) FCaptured.push_back(std::move(Text));
                }
                ++FMessages;
                WriteAll(Fd, "250 queued\r\n");
            } else if (Verb == "QUIT") {
                WriteAll(Fd, "221 bye\r\n");
                return;
            } else {
                WriteAll(Fd, "250 ok\r\n");
            }
        }
    }

    int FListener = -1;
    int FPort = 0;
    std::thread FThread;
    std::atomic<long> FMessages{0};
    std::mutex FCaptureMutex;
    bool FCapturing = false;
    std::vector<std::string> FCaptured;
};

SmtpSink& Sink() {
    static SmtpSink sink;
    return sink;
}

// One run of the mail client: every recipient's message, composed and sent.
bool SendRun(AlertMailTransport& Transport, const std::vector<AlertEmailRow>& Rows,
             std::string& Error) {
    AlertEmailRun Run;
    SendAlertEmailRun(Transport, Rows, 3, 1, Run);
    Error = Run.Error;
    return Run.Completed();
}

void ConfigureTransport(AlertMailTransport& Transport) {
    Transport.Smtp().HeloName = "bench.test";
    Transport.Configure({"127.0.0.1", std::to_string(Sink().Port()), "alerts@shop.example", "", 0});
}

// The texts the mail client sends, headers and all, taken from the sink:
// the references send these very bytes. Empty when the client failed.
const std::vector<std::string>& ClientMessages() {
    static const std::vector<std::string> Messages = [] {
        AlertMailTransport Transport;
        ConfigureTransport(Transport);
        Sink().Capture(true);
        std::string Error;
        const bool Sent = SendRun(Transport, DueRows(), Error);
        Sink().Capture(false);
        std::vector<std::string> Texts = Sink().Captured();
        if (!Sent || Texts.size() != Recipients) Texts.clear();
        return Texts;
    }();
    return Messages;
}

void BM_ComposeAndSend(benchmark::State& state) {
    const std::vector<AlertEmailRow> Rows = DueRows();
    AlertMailTransport Transport;
    ConfigureTransport(Transport);
    std::string Error;
    for (auto _ : state) {
        if (!SendRun(Transport, Rows, Error)) state.SkipWithError(Error.c_str());
    }
    state.SetItemsProcessed(state.iterations() * Recipients);
}
// Wall time, as the Python reference reports: the sink's thread and the
// waits for its replies are part of sending.
BENCHMARK(BM_ComposeAndSend)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same conversation with the same message bytes on a bare socket: what
// the network and the sink cost.
void BM_BareSocketBaseline(benchmark::State& state) {
    const std::vector<AlertEmailRow> Rows = DueRows();
    if (ClientMessages().empty()) {
        state.SkipWithError("the mail client's messages could not be taken");
        return;
    }
    std::vector<std::string> Messages;
    for (const std::string& Text : ClientMessages()) {
        std::string Stuffed;
        for (std::size_t Start = 0; Start < Text.size();) {
            const std::size_t End = Text.find("\r\n", Start) + 2;
            if (Text[Start] == '.') Stuffed += '.';
            Stuffed.append(Text, Start, End - Start);
            Start = End;
        }
        Messages.push_back(Stuffed + ".\r\n");
    }
    for (auto _ : state) {
        const int Fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in Address{};
        Address.sin_family = AF_INET;
        Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        Address.sin_port = htons(static_cast<std::uint16_t>(Sink().Port()));
        if (connect(Fd, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0)
            state.SkipWithError("cannot connect");
        LineReader Reader(Fd);
        std::string Reply;
        auto Say = [&](const std::string& Text) {
            WriteAll(Fd, Text);
            Reader.Next(Reply);
        };
        Reader.Next(Reply);
        Say("EHLO bench.test\r\n");
        for (std::size_t I = 0; I < Messages.size(); ++I) {
            Say("RSET\r\n");
            Say("MAIL FROM:<alerts@shop.example>\r\n");
            Say("RCPT TO:<" + Rows[I * 3].AlertEmail + ">\r\n");
            Say("DATA\r\n");
            Say(Messages[I]);
        }
        Say("QUIT\r\n");
        close(Fd);
    }
    state.SetItemsProcessed(state.iterations() * Recipients);
}
BENCHMARK(BM_BareSocketBaseline)->UseRealTime()->Unit(benchmark::kMillisecond);

// Python's smtplib sending the same messages (the mail client's bytes, as
// taken by the sink, before dot-stuffing, which smtplib does itself) to the
// same sink: the reference the mail client is read against. Python times
// its own sending.
void BM_PythonSmtplib(benchmark::State& state) {
    const std::vector<AlertEmailRow> Rows = DueRows();
    if (ClientMessages().empty()) {
        state.SkipWithError("the mail client's messages could not be taken");
        return;
    }
    char path[] = "/tmp/email-bench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        state.SkipWithError("no temporary file");
        return;
    }
    close(fd);
    {
        std::ofstream out(path, std::ios::binary);
        const std::vector<std::string>& Messages = ClientMessages();
        for (std::size_t I = 0; I < Messages.size(); ++I)
            out << Rows[I * 3].AlertEmail << ' ' << Messages[I].size() << '\n' << Messages[I];
    }
    const std::string command =
        "python3 " +
        (std::filesystem::path(__FILE__).parent_path() / "alert_email_floor.py").string() + " " +
        std::to_string(Sink().Port()) + " " + path;
    for (auto _ : state) {
        const long before = Sink().Messages();
        FILE* output = popen(command.c_str(), "r");
        char line[64] = {};
        const bool read = output && fgets(line, sizeof line, output) != nullptr;
        if (!output || pclose(output) != 0 || !read) {
            state.SkipWithError("python3 smtplib failed");
            break;
        }
        if (Sink().Messages() - before != Recipients) state.SkipWithError("messages lost");
        state.SetIterationTime(std::strtod(line, nullptr));
    }
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * Recipients);
}
BENCHMARK(BM_PythonSmtplib)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// Composing the 1,000 bodies alone.
void BM_ComposeOnly(benchmark::State& state) {
    const std::vector<AlertEmailRow> Rows = DueRows();
    for (auto _ : state) {
        AlertEmailComposer Composer(1);
        for (std::size_t First = 0; First < Rows.size(); First += 3) {
            for (std::size_t I = First; I < First + 3; ++I)
                Composer.Add(Rows[I]);
            benchmark::DoNotOptimize(Composer.Finish());
        }
    }
    state.SetItemsProcessed(state.iterations() * Recipients);
}
BENCHMARK(BM_ComposeOnly)->Unit(benchmark::kMillisecond);

} // namespace
