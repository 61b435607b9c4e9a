#pragma once
// TDcCustomConnection: serves columns and rows to the report engine. Once it
// listens, its thread waits for the engine's requests and hands each command
// to the main thread, where the command's event (or, when none is bound, the
// class's own Do... operation) fills the reply through DefineColumn and the
// value writers.
#include "platform/rtl/Currency.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/TDateTime.h"
#include "reportconn/DataConnectFieldDef.h"
#include "reportconn/DkComponent.h"
#include "reportconn/RPBuffer.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace reportconn {

class TDcCustomConnection;
class TDataConnectThread;

using TRPConnectorEvent = std::function<void(TDcCustomConnection* Connection)>;
using TRPEOFEvent = std::function<void(TDcCustomConnection* Connection, bool& Eof)>;
using TRPValidateRowEvent = std::function<void(TDcCustomConnection* Connection, bool& Valid)>;

class TDcCustomConnection : public TDkComponent {
public:
    // Joins the manager and maps the shared buffer (EOSError when it cannot).
    // Listens at once when the owner is being designed; at run time from the
    // first RuntimeVisibility of rtDeveloper or rtEndUser.
    explicit TDcCustomConnection(TComponent* AOwner);
    // Stops the thread (see StopListener) and lets go of the buffers.
    ~TDcCustomConnection() override;
    AnsiString ClassName() const override { return "TDcCustomConnection"; }

    TRuntimeVisibility RuntimeVisibility() const { return FRuntimeVisibility; }
    void SetRuntimeVisibility(TRuntimeVisibility Value);
    // An old form's "Visible" property: true means rtEndUser.
    void ReadVisible(bool Value);

    TStringList* FieldAliasList() const { return FFieldAliasList.get(); }
    void SetFieldAliasList(const TStrings* Value);
    bool LocalFilter() const { return FLocalFilter; }
    void SetLocalFilter(bool Value) { FLocalFilter = Value; }
    // What LocalFilter starts as in this class; a form stores it otherwise.
    virtual bool LocalFilterDefault() const { return true; }

    int RowIndex() const { return FRowIndex; }
    void SetRowIndex(int Value) { FRowIndex = Value; }
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value) { FRowCount = Value; }

    // Not being designed: a run-time connection.
    bool RunTime() const { return FRunTime; }
    bool Listening() const { return FThread != nullptr && !FThreadFinished; }
    // The identity the handshake reports.
    std::int32_t Identity() const { return FIdentity; }

    // Declares the next column (from OnGetCols). A FieldAliasList line
    // "Name=Alias" renames it; one with an empty alias hides it.
    void DefineColumn(const AnsiString& Name, TRPDataType DataType, const AnsiString& Description,
                      const AnsiString& FullName, int Width);
    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    const TDataConnectFieldDef& Columns(int Index) const { return FColumns.at(Index); }

    // Write the next column's value of the current row (from OnGetRow). The
    // display text goes along when it is not empty and differs from the
    // value's own text.
    void WriteStringValue(const AnsiString& Display, const AnsiString& Value);
    void WriteIntegerValue(const AnsiString& Display, std::int32_t Value);
    void WriteInt64Value(const AnsiString& Display, std::int64_t Value);
    void WriteBooleanValue(const AnsiString& Display, bool Value);
    void WriteFloatValue(const AnsiString& Display, double Value);
    void WriteCurrencyValue(const AnsiString& Display, const Currency& Value);
    void WriteBCDValue(const AnsiString& Display, const Currency& Value);
    void WriteDateTimeValue(const AnsiString& Display, TDateTime Value);
    void WriteBlobValue(const AnsiString& Bytes);
    void WriteNullValue();

    // Reading a request (from OnSetFilter, OnSetSort). Each raises EReadError
    // when the request ends before the item does.
    std::int32_t ReadInteger() { return FBuffer->ReadInt32(); }
    std::uint8_t ReadByte() { return FBuffer->ReadByte(); }
    double ReadExtended() { return FBuffer->ReadExtended(); }
    std::int64_t ReadInt64() { return FBuffer->ReadInt64(); }
    double ReadDouble() { return FBuffer->ReadDouble(); }
    AnsiString ReadString() { return FBuffer->ReadString(); }
    // Reads one filter item; false at the empty name that ends the list.
    bool ReadFilterItem();
    const AnsiString& FilterFieldName() const { return FFilterFieldName; }
    const AnsiString& FilterOperator() const { return FFilterOperator; }
    const AnsiString& FilterValueText() const { return FFilterValueText; }
    TRPDataType FilterDataType() const { return FFilterDataType; }
    const TRPFilterValue& FilterValue() const { return FFilterValue; }

    // The engine's part, run on the main thread: carries out command 1..10
    // from the request in the buffer and leaves the reply there. A failing
    // handler leaves a reply without data, never what the buffer held.
    void RunCommand(std::int32_t Command);
    // The handshake reply (listener thread).
    void WriteHandshake();
    TRPBuffer& Buffer() { return *FBuffer; }

    TRPConnectorEvent OnFirst, OnNext, OnGetCols, OnGetRow, OnSetFilter, OnGetSorts, OnSetSort,
        OnOpen, OnRestore;
    TRPEOFEvent OnEOF;
    TRPValidateRowEvent OnValidateRow;

protected:
    virtual void DoFirst() { FRowIndex = 0; }
    virtual void DoNext() { ++FRowIndex; }
    virtual bool DoEOF() { return FRowIndex >= FRowCount; }
    virtual void DoGetCols();
    virtual void DoGetRow();
    virtual void DoSetFilter() {}
    virtual void DoGetSorts() { FBuffer->WriteString(""); }
    virtual void DoSetSort() {}
    virtual void DoOpen();
    virtual void DoRestore() {}
    virtual bool DoValidateRow() { return true; }

    // Writes a string into the row without an offset entry.
    void WriteRawString(const AnsiString& Value) { FBuffer->WriteString(Value); }

    // Ends the listener thread and waits for it, running the commands it
    // has handed to the main thread meanwhile (as empty replies). A
    // descendant calls it first in its own destructor, so that no command
    // reaches a half-destroyed connection.
    void StopListener();

    void ChangeName(const AnsiString& NewName) override;

private:
    friend class TDataConnectThread;

    void StartListener();
    AnsiString ListenName() const;
    void ThreadFinished() { FThreadFinished = true; }
    // The listener's pause when its events could not be opened; StopListener
    // cuts it short. Kept here: once terminated, the thread may be gone.
    void PauseListener(int TimeoutMs);
    AnsiString DataEventName() const;

    void CmdFirst();
    void CmdNext();
    void CmdEOF();
    void CmdGetCols();
    void CmdSetFilter();
    bool IsEOF();
    bool ValidRow();
    // Builds the current row; true when the data is at its end.
    bool BuildRow();

    TDataConnectFieldDef& NextColumn();
    void PutValue(std::initializer_list<TRPDataType> Accepts,
                  const std::function<bool(const TRPFilterValue&)>& Matches,
                  const AnsiString& Display, const AnsiString& ValueText, std::size_t ValueSize,
                  const std::function<void()>& Write);

    std::unique_ptr<TRPBuffer> FBuffer;
    std::size_t FRowTable = 0; // start of the current row's offset table; 0: no row
    TDataConnectThread* FThread = nullptr;
    bool FRunTime = true;
    std::atomic<bool> FThreadFinished{false};
    std::atomic<bool> FStopping{false};
    std::mutex FPauseLock;
    std::condition_variable FPause;
    std::int32_t FIdentity = 0;
    mutable std::mutex FNameLock;
    AnsiString FListenName;

    std::vector<TDataConnectFieldDef> FColumns;
    int FColumnIndex = 0;
    int FIncludedCount = 0;
    int FRowIndex = 0;
    int FRowCount = 0;

    AnsiString FFilterFieldName, FFilterOperator, FFilterValueText;
    TRPDataType FFilterDataType = dtString;
    TRPFilterValue FFilterValue;

    bool FLocalFilter = true;
    bool FFilterMatch = true;
    TRuntimeVisibility FRuntimeVisibility = rtDeveloper;
    std::unique_ptr<TStringList> FFieldAliasList;
};

} // namespace reportconn
