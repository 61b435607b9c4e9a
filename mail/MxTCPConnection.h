#pragma once
// The blocking, line-oriented connection the protocol clients work on. It
// fills an input buffer from its I/O handler, reads lines with a length
// limit, writes text and data, sends commands and reads numeric multi-line
// replies, and turns every network condition into an EMxException.
//
// Reads never wait for ever by default: ReadTimeout starts at
// MxDefaultReadTimeout, so a peer that stalls raises "Read Timeout"; 0
// still asks for no limit.
//
// Switching the handler to TLS on an open connection (STARTTLS) must be
// followed by ResetConnectionState: bytes that arrived in the clear before
// the switch must never pass for protected ones.
#include "mail/MxBuffers.h"
#include "mail/MxComponent.h"
#include "mail/MxRFCReply.h"

#include <cstdint>
#include <vector>

class TStrings;

namespace mail {

class TMxIOHandler;
class TMxIOHandlerSocket;
class TMxConnectionIntercept;

enum class TMxMaxLineAction : std::uint8_t { maException, maSplit };

inline constexpr int MxDefaultReadTimeout = 180000;
inline constexpr int MxDefaultMaxLineLength = 16384;
// A reply with more lines than this is refused rather than collected
// without bound.
inline constexpr int MxMaxReplyLines = 1000;

class TMxTCPConnection : public TMxComponent {
public:
    explicit TMxTCPConnection(TComponent* AOwner = nullptr);
    ~TMxTCPConnection() override;
    AnsiString ClassName() const override { return "TMxTCPConnection"; }

    bool ASCIIFilter = false;
    int MaxLineLength = MxDefaultMaxLineLength; // 0: no limit
    TMxMaxLineAction MaxLineAction = TMxMaxLineAction::maException;
    int ReadTimeout = MxDefaultReadTimeout; // ms; 0: no limit
    int RecvBufferSize = 32768;
    int SendBufferSize = 32768;
    TNotifyEvent OnDisconnected;

    TMxConnectionIntercept* Intercept() const { return FIntercept; }
    void SetIntercept(TMxConnectionIntercept* AValue);
    TMxIOHandler* IOHandler() const { return FIOHandler; }
    // Frees the present handler when the connection made it; a handler
    // freed elsewhere is forgotten.
    void SetIOHandler(TMxIOHandler* AValue);

    TMxManagedBuffer& InputBuffer() { return FInputBuffer; }
    bool ClosedGracefully() const { return FClosedGracefully; }
    // How the last ReadLine ended: split at the maximum length, or timed
    // out (only with an explicit time-out).
    bool ReadLnSplit() const { return FReadLnSplit; }
    bool ReadLnTimedOut() const { return FReadLnTimedOut; }
    TMxRFCReply& LastCmdResult() { return FLastCmdResult; }
    TMxRFCReply& Greeting() { return FGreeting; }

    // Connection management
    virtual void NotifyDisconnected();
    // Empties the input buffer and clears the closed-gracefully flag.
    virtual void ResetConnectionState();
    virtual AnsiString ReadAllData();
    // Whether the connection is lost; with ARaise, EMxConnClosedGracefully
    // when it is and no buffered data (or, with AIgnoreBuffer, none at
    // all) can serve a read.
    virtual bool CheckDisconnect(bool ARaise = true, bool AIgnoreBuffer = false);
    virtual void CheckGracefulDisconnect(bool ARaise = true);
    // An empty list accepts every code; otherwise RaiseReplyError.
    virtual int CheckReplyCode(int ACode, const std::vector<int>& ACodes);
    virtual bool IsConnected();
    virtual void Disconnect();
    virtual void DisconnectTransport();

    // Replies
    virtual int ReadReply(const std::vector<int>& ACodes);
    // EMxProtocolReplyError with the last reply's code and text.
    [[noreturn]] virtual void RaiseReplyError();
    template <class E> [[noreturn]] void RaiseReplyErrorAs() { throw E(ReplyErrorText()); }
    // The last reply's text lines, each followed by CR LF.
    AnsiString ReplyErrorText() const;
    // Reads one reply into LastCmdResult.
    void ReadReplyLines();
    virtual int SendCommand(const AnsiString& ACommand, const std::vector<int>& ACodes);
    // -1 accepts any reply, any other code only itself.
    int SendCommand(const AnsiString& ACommand, int ACode);

    // Reading
    // Bytes received, or -1 when nothing came within the time-out and
    // ARaiseOnTimeout is off (-1 time-out: ReadTimeout).
    virtual int ReadIntoBuffer(bool ARaise = true, int ATimeout = -1, bool ARaiseOnTimeout = true);
    // The next line without its terminator (LF, which also drops a CR
    // before it). AMaxLength -1 means MaxLineLength, 0 no limit.
    virtual AnsiString ReadLine(const AnsiString& ATerminator = "\n", int ATimeout = -1,
                                int AMaxLength = -1);
    // The first line that is not blank, trimmed. Raises when AAttempts
    // lines (negative: MxMaxReplyLines) were all blank, and "Read Timeout"
    // when the blank lines took longer than ReadTimeout in all.
    AnsiString ReadNonEmptyLine(int AAttempts = -1);
    void ReadExact(void* ABuffer, int ACount);
    AnsiString TakeReadBuffer();
    // Reads lines up to AEndLine (not stored) into ADest: a TStrings, a
    // TStream (each line with CR LF) or nullptr; with ADotHandling a line
    // starting ".." loses its first dot.
    void CaptureLines(TObject* ADest, int& ALineCount, bool ADotHandling,
                      const AnsiString& AEndLine);

    // Writing
    void WriteBytes(const void* ABuffer, int ACount, bool AWriteNow = false);
    virtual void Write(const AnsiString& AText);
    virtual void WriteLine(const AnsiString& AText);
    void WriteInt32(std::int32_t AValue, bool AConvert = true);
    void WriteLines(TStrings* AStrings, bool AWriteLinesCount = false);
    // AAll rewinds first; ASize 0 sends up to the end; AWriteByteCount
    // sends the count first as a network-order 32-bit value.
    virtual void WriteStreamData(TStream* AStream, bool AAll = true, bool AWriteByteCount = false,
                                 std::int64_t ASize = 0);
    virtual std::int64_t WriteFileData(const AnsiString& AFileName,
                                       bool AEnableTransferFile = false);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TMxIOHandlerSocket* SocketHandler() const { return FSocketHandler; }
    void SetOwnsIOHandler(bool AValue) { FOwnsIOHandler = AValue; }

private:
    bool HandlerConnected() const;

    TMxManagedBuffer FInputBuffer;
    TMxSimpleBuffer FRecvBuffer; // what an intercept is handed
    std::vector<char> FRecvChunk;
    bool FClosedGracefully = false;
    TMxRFCReply FLastCmdResult;
    TMxRFCReply FGreeting;
    bool FOwnsIOHandler = false;
    TMxIOHandler* FIOHandler = nullptr;
    TMxIOHandlerSocket* FSocketHandler = nullptr;
    TMxConnectionIntercept* FIntercept = nullptr;
    bool FReadLnSplit = false;
    bool FReadLnTimedOut = false;
};

} // namespace mail
