#include "mail/MxTCPConnection.h"

#include "mail/MxAntiFreeze.h"
#include "mail/MxIOHandler.h"
#include "mail/MxIntercept.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxStack.h"
#include "mail/MxStreamLines.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string_view>
#include <sys/stat.h>

namespace mail {

namespace {

// Ends StartWork's bracket also when an exception leaves it.
class WorkScope {
public:
    WorkScope(TMxComponent& AComponent, TWorkMode AMode, std::int32_t AMax)
        : FComponent(AComponent), FMode(AMode) {
        FComponent.StartWork(FMode, AMax);
    }
    ~WorkScope() { FComponent.FinishWork(FMode); }
    WorkScope(const WorkScope&) = delete;
    WorkScope& operator=(const WorkScope&) = delete;

private:
    TMxComponent& FComponent;
    TWorkMode FMode;
};

std::int32_t ClampWork(std::int64_t AValue) {
    return static_cast<std::int32_t>(std::min<std::int64_t>(AValue, INT32_MAX));
}

} // namespace

TMxTCPConnection::TMxTCPConnection(TComponent* AOwner) : TMxComponent(AOwner) {
    FInputBuffer.OnBytesRemoved = [this](int ACount) { AdvanceWork(TWorkMode::workRead, ACount); };
}

TMxTCPConnection::~TMxTCPConnection() {
    Destroying();
    try {
        DisconnectTransport();
    } catch (...) {
        // Closing a transport in a destructor must not throw.
    }
    SetIOHandler(nullptr);
    SetIntercept(nullptr);
}

// ---------------------------------------------------------- references

void TMxTCPConnection::SetIOHandler(TMxIOHandler* AValue) {
    if (AValue == FIOHandler) return;
    if (TMxIOHandler* old = FIOHandler) {
        FIOHandler = nullptr;
        FSocketHandler = nullptr;
        old->RemoveFreeNotification(this);
        if (FOwnsIOHandler) {
            FOwnsIOHandler = false;
            delete old;
        }
    }
    FIOHandler = AValue;
    FSocketHandler = dynamic_cast<TMxIOHandlerSocket*>(AValue);
    if (FIOHandler) FIOHandler->FreeNotification(this);
}

void TMxTCPConnection::SetIntercept(TMxConnectionIntercept* AValue) {
    if (AValue == FIntercept) return;
    if (FIntercept) FIntercept->RemoveFreeNotification(this);
    FIntercept = AValue;
    if (FIntercept) FIntercept->FreeNotification(this);
}

void TMxTCPConnection::Notification(TComponent* AComponent, TOperation Operation) {
    TMxComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FIOHandler) {
        FIOHandler = nullptr;
        FSocketHandler = nullptr;
        FOwnsIOHandler = false;
    }
    if (AComponent == FIntercept) FIntercept = nullptr;
}

// ---------------------------------------------------------- connection state

bool TMxTCPConnection::HandlerConnected() const {
    return FIOHandler && FIOHandler->IsConnected();
}

void TMxTCPConnection::NotifyDisconnected() {
    if (OnDisconnected) OnDisconnected(this);
}

void TMxTCPConnection::ResetConnectionState() {
    FInputBuffer.ClearBuffer();
    FClosedGracefully = false;
}

bool TMxTCPConnection::CheckDisconnect(bool ARaise, bool AIgnoreBuffer) {
    if (!FIOHandler) return false;
    bool lost;
    if (FClosedGracefully) {
        if (FIOHandler->IsConnected()) {
            DisconnectTransport();
            ReportStatus(TMxStatus::stDisconnected);
            NotifyDisconnected();
        }
        lost = true;
    } else {
        lost = !FIOHandler->IsConnected();
    }
    if (lost && ARaise && (AIgnoreBuffer || FInputBuffer.Size() == 0))
        throw EMxConnClosedGracefully("Connection Closed Gracefully.");
    return lost;
}

void TMxTCPConnection::CheckGracefulDisconnect(bool ARaise) {
    ReadIntoBuffer(ARaise, 1, false);
}

bool TMxTCPConnection::IsConnected() {
    CheckDisconnect(false);
    return HandlerConnected();
}

void TMxTCPConnection::Disconnect() {
    const bool wasConnected = IsConnected();
    if (wasConnected) {
        ReportStatus(TMxStatus::stDisconnecting);
        DisconnectTransport();
    }
    if (FOwnsIOHandler) SetIOHandler(nullptr);
    if (wasConnected) {
        NotifyDisconnected();
        ReportStatus(TMxStatus::stDisconnected);
    }
}

void TMxTCPConnection::DisconnectTransport() {
    if (!FIOHandler || ComponentState().Contains(csDesigning)) return;
    if (FIntercept) FIntercept->InterceptDisconnect();
    FIOHandler->CloseTransport();
}

// ---------------------------------------------------------- reading

int TMxTCPConnection::ReadIntoBuffer(bool ARaise, int ATimeout, bool ARaiseOnTimeout) {
    if (ATimeout == MxTimeoutDefault) ATimeout = ReadTimeout == 0 ? MxTimeoutInfinite : ReadTimeout;
    CheckDisconnect(ARaise);
    if (!HandlerConnected()) {
        if (ARaise) throw EMxNotConnected("Not Connected");
        return 0;
    }
    int count = 0;
    do {
        if (!FIOHandler->WaitReadable(ATimeout)) {
            if (ARaiseOnTimeout) throw EMxReadTimeout("Read Timeout");
            return -1;
        }
        if (!FIOHandler) {
            if (ARaise) throw EMxNotConnected("Not Connected");
            return 0;
        }
        // The chunk is kept between reads: sized again on every read, its
        // bytes would be cleared every time, a reply of a few bytes paying
        // for the whole chunk.
        const std::size_t size = static_cast<std::size_t>(std::max(RecvBufferSize, 1));
        if (FRecvChunk.size() != size) FRecvChunk.resize(size);
        count = FIOHandler->ReceiveBytes(FRecvChunk.data(), static_cast<int>(size));
        FClosedGracefully = count == 0;
        if (count == MxSocketError) {
            TMxStack& stack = Stack();
            if (stack.CheckSocketResult(count, {WSAESHUTDOWN, WSAECONNABORTED})) {
                const int code = stack.LastError;
                DisconnectTransport();
                if (FInputBuffer.Size() == 0) stack.RaiseLastSocketError(code);
            }
            count = 0;
        }
        if (count > 0) {
            char* bytes = FRecvChunk.data();
            if (FIntercept) {
                FRecvBuffer.Clear();
                FRecvBuffer.Append(bytes, count);
                FRecvBuffer.SetPosition(0);
                FIntercept->InterceptReceive(&FRecvBuffer);
                count = FRecvBuffer.Size();
                bytes = static_cast<char*>(FRecvBuffer.Memory());
            }
            if (ASCIIFilter) {
                for (int i = 0; i < count; ++i)
                    bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) & 0x7F);
            }
            FInputBuffer.Append(bytes, count);
        }
        CheckDisconnect(ARaise);
    } while (count == 0 && HandlerConnected());
    return count;
}

AnsiString TMxTCPConnection::ReadLine(const AnsiString& ATerminator, int ATimeout, int AMaxLength) {
    const AnsiString terminator = ATerminator.empty() ? AnsiString("\n") : ATerminator;
    const bool lineFeed = terminator == "\n";
    const int maxLength = AMaxLength < 0 ? MaxLineLength : AMaxLength;
    FReadLnSplit = false;
    FReadLnTimedOut = false;
    std::size_t scanned = 0;
    while (true) {
        const std::string_view data(FInputBuffer.Data(),
                                    static_cast<std::size_t>(FInputBuffer.Size()));
        std::size_t found = std::string_view::npos;
        if (!data.empty()) {
            // Start far enough back to find a terminator that arrived in
            // two pieces; never rescan anything older.
            const std::size_t back = terminator.size() - 1;
            found = data.find(terminator, scanned > back ? scanned - back : 0);
            scanned = data.size();
        }

        if (maxLength > 0) {
            // The CR of a CR LF ending is not part of the line.
            bool tooLong;
            if (found != std::string_view::npos) {
                std::size_t length = found;
                if (lineFeed && found > 0 && data[found - 1] == '\r') --length;
                tooLong = length > static_cast<std::size_t>(maxLength);
            } else {
                std::size_t length = data.size();
                if (lineFeed && !data.empty() && data.back() == '\r') --length;
                tooLong = length > static_cast<std::size_t>(maxLength);
            }
            if (tooLong) {
                if (MaxLineAction == TMxMaxLineAction::maException)
                    throw EMxReadLnMaxLineLengthExceeded("Max line length exceeded.");
                FReadLnSplit = true;
                return FInputBuffer.Extract(maxLength);
            }
        }

        if (found == std::string_view::npos) {
            CheckDisconnect(true, true);
            if (ReadIntoBuffer(true, ATimeout, ATimeout == MxTimeoutDefault) == -1) {
                FReadLnTimedOut = true;
                return AnsiString();
            }
            continue;
        }

        AnsiString line(data.substr(0, found));
        FInputBuffer.Remove(static_cast<int>(found + terminator.size()));
        if (lineFeed && !line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }
}

AnsiString TMxTCPConnection::ReadNonEmptyLine(int AAttempts) {
    // Each blank line would restart a per-read time-out: a peer that
    // trickles them must still not hold the caller for ever.
    const int attempts = AAttempts < 0 ? MxMaxReplyLines : AAttempts;
    const auto start = std::chrono::steady_clock::now();
    for (int attempt = 0; attempt < attempts; ++attempt) {
        int timeout = MxTimeoutDefault;
        if (ReadTimeout > 0) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now() - start)
                                   .count();
            if (spent >= ReadTimeout) throw EMxReadTimeout("Read Timeout");
            timeout = ReadTimeout - static_cast<int>(spent);
        }
        const AnsiString line = Trim(ReadLine("\n", timeout));
        if (timeout != MxTimeoutDefault && ReadLnTimedOut()) throw EMxReadTimeout("Read Timeout");
        if (!line.empty()) return line;
    }
    throw EMxTCPConnectionError("No reply line within " + std::to_string(attempts) + " lines.");
}

void TMxTCPConnection::ReadExact(void* ABuffer, int ACount) {
    if (ACount <= 0) return;
    while (FInputBuffer.Size() < ACount) {
        // A peer that has closed cannot make up the rest.
        CheckDisconnect(true, true);
        ReadIntoBuffer();
    }
    std::memcpy(ABuffer, FInputBuffer.Data(), static_cast<std::size_t>(ACount));
    FInputBuffer.Remove(ACount);
}

AnsiString TMxTCPConnection::TakeReadBuffer() {
    if (IsConnected()) ReadIntoBuffer(false);
    return FInputBuffer.Extract(FInputBuffer.Size());
}

AnsiString TMxTCPConnection::ReadAllData() {
    WorkScope work(*this, TWorkMode::workRead, 0);
    AnsiString data;
    while (IsConnected())
        data += TakeReadBuffer();
    return data;
}

void TMxTCPConnection::CaptureLines(TObject* ADest, int& ALineCount, bool ADotHandling,
                                    const AnsiString& AEndLine) {
    auto* strings = dynamic_cast<TStrings*>(ADest);
    auto* stream = dynamic_cast<TStream*>(ADest);
    if (ADest && !strings && !stream) throw EMxObjectTypeNotSupported("Object type not supported.");
    ALineCount = 0;
    WorkScope work(*this, TWorkMode::workRead, 0);
    while (true) {
        AnsiString line = ReadLine();
        if (line == AEndLine) break;
        if (ADotHandling && line.size() >= 2 && line[0] == '.' && line[1] == '.') line.erase(0, 1);
        ++ALineCount;
        if (strings) {
            strings->Add(line);
        } else if (stream) {
            StreamWriteLine(stream, line);
        }
    }
}

// ---------------------------------------------------------- replies

void TMxTCPConnection::ReadReplyLines() {
    std::vector<AnsiString> lines{ReadNonEmptyLine()};
    const AnsiString& first = lines.front();
    if (first.size() > 3 && first[3] == '-') {
        const AnsiString endMarker = first.substr(0, 3) + " ";
        while (true) {
            if (static_cast<int>(lines.size()) >= MxMaxReplyLines)
                throw EMxTCPConnectionError("Reply has more than " +
                                            std::to_string(MxMaxReplyLines) + " lines.");
            lines.push_back(ReadNonEmptyLine());
            const AnsiString& line = lines.back();
            if (line.size() < 4 || SameText(line.substr(0, 4), endMarker)) break;
        }
    }

    FLastCmdResult.Clear();
    AnsiString code = Trim(lines.front().substr(0, 4));
    if (!code.empty() && code.back() == '-') code.pop_back();
    FLastCmdResult.SetTextCode(code);
    TStringList& text = FLastCmdResult.Text();
    text.Add(lines.front().size() > 4 ? lines.front().substr(4) : AnsiString());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const AnsiString& line = lines[i];
        if (SameText(line.substr(0, 3), code)) {
            text.Add(line.size() > 4 ? line.substr(4) : AnsiString());
        } else {
            text.Add(TrimLeft(line));
        }
    }
}

int TMxTCPConnection::ReadReply(const std::vector<int>& ACodes) {
    ReadReplyLines();
    return CheckReplyCode(static_cast<std::int16_t>(FLastCmdResult.NumericCode()), ACodes);
}

int TMxTCPConnection::CheckReplyCode(int ACode, const std::vector<int>& ACodes) {
    if (!ACodes.empty() && std::find(ACodes.begin(), ACodes.end(), ACode) == ACodes.end())
        RaiseReplyError();
    return ACode;
}

AnsiString TMxTCPConnection::ReplyErrorText() const {
    AnsiString text;
    const TStringList& lines = FLastCmdResult.Text();
    for (int i = 0; i < lines.GetCount(); ++i)
        text += lines.Get(i) + "\r\n";
    return text;
}

void TMxTCPConnection::RaiseReplyError() {
    throw EMxProtocolReplyError(FLastCmdResult.NumericCode(), ReplyErrorText());
}

int TMxTCPConnection::SendCommand(const AnsiString& ACommand, const std::vector<int>& ACodes) {
    WriteLine(ACommand);
    return ReadReply(ACodes);
}

int TMxTCPConnection::SendCommand(const AnsiString& ACommand, int ACode) {
    return SendCommand(ACommand, ACode == -1 ? std::vector<int>{} : std::vector<int>{ACode});
}

// ---------------------------------------------------------- writing

void TMxTCPConnection::WriteBytes(const void* ABuffer, int ACount, bool) {
    // No pending-write buffer is kept: every write goes out at once.
    if (ACount <= 0 || !ABuffer) return;
    CheckDisconnect(true, true);
    if (!HandlerConnected()) throw EMxNotConnected("Not Connected");

    // Only an intercept needs the bytes in a buffer of their own.
    const char* data = static_cast<const char*>(ABuffer);
    TMxSimpleBuffer out;
    if (FIntercept) {
        out.Append(ABuffer, ACount);
        out.SetPosition(0);
        FIntercept->InterceptSend(&out);
        ACount = out.Size();
        data = out.Data();
    }
    int sent = 0;
    while (sent < ACount) {
        const int count = FIOHandler->SendBytes(data + sent, ACount - sent);
        if (count == 0) FClosedGracefully = true;
        CheckDisconnect(true);
        if (count == MxSocketError) {
            TMxStack& stack = Stack();
            if (stack.CheckSocketResult(count, {WSAESHUTDOWN, WSAECONNABORTED, WSAECONNRESET})) {
                const int code = stack.LastError;
                DisconnectTransport();
                stack.RaiseLastSocketError(code);
            }
        }
        TMxAntiFreezeBase::ProcessIfDue(false);
        if (count > 0) {
            AdvanceWork(TWorkMode::workWrite, count);
            sent += count;
        }
    }
}

void TMxTCPConnection::Write(const AnsiString& AText) {
    if (!AText.empty()) WriteBytes(AText.data(), static_cast<int>(AText.size()));
}

void TMxTCPConnection::WriteLine(const AnsiString& AText) {
    Write(AText + "\r\n");
}

void TMxTCPConnection::WriteInt32(std::int32_t AValue, bool AConvert) {
    std::uint32_t value = static_cast<std::uint32_t>(AValue);
    if (AConvert) value = Stack().SockHostToNetLong(value);
    WriteBytes(&value, sizeof value);
}

void TMxTCPConnection::WriteLines(TStrings* AStrings, bool AWriteLinesCount) {
    if (AWriteLinesCount) WriteInt32(AStrings->GetCount());
    for (int i = 0; i < AStrings->GetCount(); ++i)
        WriteLine(AStrings->Get(i));
}

void TMxTCPConnection::WriteStreamData(TStream* AStream, bool AAll, bool AWriteByteCount,
                                       std::int64_t ASize) {
    if (AAll) AStream->SetPosition(0);
    const std::int64_t position = AStream->GetPosition();
    const std::int64_t end = ASize != 0 ? position + ASize : AStream->GetSize();
    std::int64_t left = end - position;
    WorkScope work(*this, TWorkMode::workWrite, ClampWork(left));
    if (AWriteByteCount) WriteInt32(static_cast<std::int32_t>(left));
    std::vector<char> chunk(static_cast<std::size_t>(std::max(SendBufferSize, 1)));
    while (true) {
        const int size = static_cast<int>(std::min<std::int64_t>(left, std::ssize(chunk)));
        if (size <= 0) break;
        const int got = AStream->Read(chunk.data(), size);
        if (got <= 0) throw EMxNoDataToRead("No data to read.");
        WriteBytes(chunk.data(), got);
        left -= got;
    }
}

std::int64_t TMxTCPConnection::WriteFileData(const AnsiString& AFileName, bool) {
    // No system file transmit exists here: files always go as a stream.
    struct stat info {};
    if (::stat(AFileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        throw EMxFileNotFound("File \"" + AFileName + "\" not found");
    TFileStream file(AFileName, fmOpenRead | fmShareDenyWrite);
    WriteStreamData(&file, true, false, 0);
    return file.GetSize();
}

} // namespace mail
