#include "reportconn/DcCustomConnection.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"
#include "platform/sys/NamedEvent.h"
#include "platform/sys/NamedMutex.h"
#include "reportconn/DataConnectManager.h"
#include "reportconn/DataConnectThread.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace reportconn {

TDcCustomConnection::TDcCustomConnection(TComponent* AOwner)
    : TDkComponent(AOwner), FFieldAliasList(std::make_unique<TStringList>()) {
    DataConnectManager().Add(this);
    FIdentity = DataConnectManager().NextIdentity();
    FRunTime = !(AOwner && AOwner->ComponentState().Contains(csDesigning));
    try {
        FBuffer = std::make_unique<TRPBuffer>();
    } catch (...) {
        DataConnectManager().Remove(this);
        throw;
    }
    if (!FRunTime) StartListener();
}

TDcCustomConnection::~TDcCustomConnection() {
    StopListener();
    DataConnectManager().Remove(this);
}

void TDcCustomConnection::SetRuntimeVisibility(TRuntimeVisibility Value) {
    FRuntimeVisibility = Value;
    if (!FThread && (Value == rtDeveloper || Value == rtEndUser)) StartListener();
}

void TDcCustomConnection::ReadVisible(bool Value) {
    if (Value) SetRuntimeVisibility(rtEndUser);
}

void TDcCustomConnection::SetFieldAliasList(const TStrings* Value) {
    FFieldAliasList->Assign(Value);
}

void TDcCustomConnection::ChangeName(const AnsiString& NewName) {
    std::lock_guard guard(FNameLock);
    TDkComponent::ChangeName(NewName);
    FListenName = NewName;
}

AnsiString TDcCustomConnection::ListenName() const {
    std::lock_guard guard(FNameLock);
    return FListenName;
}

AnsiString TDcCustomConnection::DataEventName() const {
    return AnsiString(FRunTime ? "RDCRTDATA_" : "RDCDTDATA_") + ListenName();
}

void TDcCustomConnection::StartListener() {
    FThread = new TDataConnectThread(this);
    FThread->Start();
}

void TDcCustomConnection::StopListener() {
    if (!FThread || FThreadFinished) return;
    {
        std::lock_guard guard(FPauseLock);
        FStopping = true;
    }
    FPause.notify_all();
    // The last touch of the thread object: once terminated, the thread may
    // leave its loop and free itself at any moment.
    FThread->Terminate();
    std::unique_ptr<TNamedMutex> controller;
    bool owned = false;
    try {
        controller = std::make_unique<TNamedMutex>(RDCControler);
        const TWaitResult got = controller->WaitFor(1000);
        owned = got == TWaitResult::wrSignaled || got == TWaitResult::wrAbandoned;
    } catch (const Exception&) {
    }
    std::unique_ptr<TNamedEvent> data;
    try {
        data = std::make_unique<TNamedEvent>(DataEventName(), false, false);
        data->SetEvent();
    } catch (const Exception&) {
    }
    // A command the thread handed over before it saw the request to stop
    // waits for the main thread: run it (it answers empty) or both wait for
    // ever.
    while (!FThreadFinished) {
        if (!InMainThread() || !CheckSynchronize(5)) std::this_thread::yield();
    }
    FThread = nullptr;
    // A wake-up signal the thread did not take would pass a stale request to
    // the next connection of this name.
    if (data) data->ResetEvent();
    if (owned) controller->Release();
}

void TDcCustomConnection::PauseListener(int TimeoutMs) {
    std::unique_lock lock(FPauseLock);
    FPause.wait_for(lock, std::chrono::milliseconds(TimeoutMs),
                    [this] { return FStopping.load(); });
}

// --- Commands ---------------------------------------------------------------

void TDcCustomConnection::RunCommand(std::int32_t Command) {
    if (FStopping) {
        FBuffer->WriteEmptyHeader();
        return;
    }
    try {
        switch (Command) {
        case cmdFirst:
            CmdFirst();
            break;
        case cmdNext:
            CmdNext();
            break;
        case cmdEOF:
            CmdEOF();
            break;
        case cmdGetCols:
            CmdGetCols();
            break;
        case cmdGetRow:
            BuildRow();
            break;
        case cmdSetFilter:
            CmdSetFilter();
            FBuffer->WriteEmptyHeader();
            break;
        case cmdGetSorts:
            OnGetSorts ? OnGetSorts(this) : DoGetSorts();
            FBuffer->WriteHeader();
            break;
        case cmdSetSort:
            OnSetSort ? OnSetSort(this) : DoSetSort();
            FBuffer->WriteEmptyHeader();
            break;
        case cmdOpen:
            OnOpen ? OnOpen(this) : DoOpen();
            FBuffer->WriteEmptyHeader();
            break;
        case cmdRestore:
            OnRestore ? OnRestore(this) : DoRestore();
            FBuffer->WriteEmptyHeader();
            break;
        default:
            FBuffer->WriteEmptyHeader();
            break;
        }
    } catch (...) {
        // The engine is told there is nothing, instead of reading a reply
        // that was cut short.
        FBuffer->ReleaseOverflow();
        FBuffer->WriteEmptyHeader();
    }
    FRowTable = 0;
}

bool TDcCustomConnection::IsEOF() {
    bool eof = false;
    if (OnEOF)
        OnEOF(this, eof);
    else
        eof = DoEOF();
    return eof;
}

bool TDcCustomConnection::ValidRow() {
    if (FLocalFilter && !FFilterMatch) return false;
    bool valid = true;
    if (OnValidateRow)
        OnValidateRow(this, valid);
    else
        valid = DoValidateRow();
    return valid;
}

bool TDcCustomConnection::BuildRow() {
    FBuffer->Rewind();
    FRowTable = 0;
    if (IsEOF()) {
        FBuffer->WriteByte(1);
        // Written although the end byte alone follows: a header left from an
        // earlier reply could send the engine to an overflow buffer.
        FBuffer->WriteHeader();
        return true;
    }
    FBuffer->WriteByte(0);
    const std::size_t lengthAt = FBuffer->Position();
    FBuffer->WriteInt32(0);
    FRowTable = FBuffer->Position();
    for (int i = 0; i < FIncludedCount; ++i) {
        FBuffer->WriteInt32(0);
        FBuffer->WriteInt32(0);
    }
    FFilterMatch = true;
    FColumnIndex = 0;
    OnGetRow ? OnGetRow(this) : DoGetRow();
    FBuffer->PatchInt32(lengthAt, static_cast<std::int32_t>(FBuffer->Position() - FRowTable));
    FBuffer->WriteHeader();
    return false;
}

void TDcCustomConnection::CmdFirst() {
    OnFirst ? OnFirst(this) : DoFirst();
    const bool end = FLocalFilter ? BuildRow() : IsEOF();
    if (!end && !ValidRow())
        CmdNext();
    else if (!FLocalFilter)
        BuildRow();
}

void TDcCustomConnection::CmdNext() {
    for (;;) {
        OnNext ? OnNext(this) : DoNext();
        const bool end = FLocalFilter ? BuildRow() : IsEOF();
        if (end || ValidRow()) break;
    }
    if (!FLocalFilter) BuildRow();
}

void TDcCustomConnection::CmdEOF() {
    FBuffer->WriteByte(IsEOF() ? 1 : 0);
    FBuffer->WriteHeader();
}

void TDcCustomConnection::CmdGetCols() {
    FColumns.clear();
    FIncludedCount = 0;
    FBuffer->Rewind();
    FBuffer->WriteInt32(0);
    OnGetCols ? OnGetCols(this) : DoGetCols();
    FBuffer->PatchInt32(BufferDataStart, FIncludedCount);
    FBuffer->WriteHeader();
}

void TDcCustomConnection::CmdSetFilter() {
    for (auto& column : FColumns)
        column.FilterValue.reset();
    if (!FLocalFilter) {
        OnSetFilter ? OnSetFilter(this) : DoSetFilter();
        return;
    }
    // The whole list is read before any of it is kept: a request cut short
    // leaves no filter half set.
    std::vector<std::pair<int, TRPFilterValue>> items;
    while (ReadFilterItem()) {
        for (int i = 0; i < ColumnCount(); ++i) {
            if (SameText(FColumns[i].FieldName, FFilterFieldName) &&
                FColumns[i].DataType == FFilterDataType) {
                items.emplace_back(i, FFilterValue);
                break;
            }
        }
    }
    for (auto& [index, value] : items)
        FColumns[index].FilterValue = value;
}

bool TDcCustomConnection::ReadFilterItem() {
    FFilterFieldName = ReadString();
    if (FFilterFieldName.empty()) return false;
    FFilterOperator = ReadString();
    FFilterValueText = ReadString();
    const std::int32_t type = ReadInteger();
    if (type < 0 || type >= RPDataTypeCount)
        throw EReadError(
            Format("Report filter on '%s' has an unknown data type %d", FFilterFieldName, type));
    FFilterDataType = static_cast<TRPDataType>(type);
    FFilterValue = TRPFilterValue();
    FFilterValue.Text = FFilterValueText;
    switch (FFilterDataType) {
    case dtInteger:
        FFilterValue.Whole = ReadInteger();
        break;
    case dtBoolean:
        FFilterValue.Whole = ReadByte() != 0;
        break;
    case dtFloat:
        FFilterValue.Real = ReadExtended();
        break;
    case dtCurrency:
    case dtBCD:
    case dtInt64:
        FFilterValue.Whole = ReadInt64();
        break;
    case dtDate:
    case dtTime:
    case dtDateTime:
        FFilterValue.Real = ReadDouble();
        break;
    default:
        break;
    }
    return true;
}

void TDcCustomConnection::DoGetCols() {
    DefineColumn("FieldName", dtString, "", "FieldName", 30);
}

void TDcCustomConnection::DoGetRow() {
    WriteRawString("[Inactive at design-time]");
}

void TDcCustomConnection::DoOpen() {
    FRowCount = 1;
    FRowIndex = 0;
}

// --- Columns ----------------------------------------------------------------

void TDcCustomConnection::DefineColumn(const AnsiString& Name, TRPDataType DataType,
                                       const AnsiString& Description, const AnsiString& FullName,
                                       int Width) {
    AnsiString output = Name;
    for (int i = 0; i < FFieldAliasList->Count(); ++i) {
        const AnsiString line = FFieldAliasList->Strings(i);
        const auto equals = line.find('=');
        if (equals != AnsiString::npos && SameText(Trim(line.substr(0, equals)), Name)) {
            output = Trim(line.substr(equals + 1));
            break;
        }
    }
    TDataConnectFieldDef column;
    column.FieldName = Name;
    column.DataType = DataType;
    column.Included = !output.empty();
    column.OutputIndex = FIncludedCount;
    FColumns.push_back(column);
    if (!column.Included) return;
    ++FIncludedCount;
    FBuffer->WriteString("N");
    FBuffer->WriteString(output);
    if (DataType != dtString) {
        FBuffer->WriteString("T");
        FBuffer->WriteString(RPDataTypeName(DataType));
    }
    if (Width > 0) {
        FBuffer->WriteString("W");
        FBuffer->WriteString(IntToStr(Width));
    }
    if (!FullName.empty()) {
        FBuffer->WriteString("L");
        FBuffer->WriteString(FullName);
    }
    if (!Description.empty()) {
        FBuffer->WriteString("D");
        FBuffer->WriteString(Description);
    }
    FBuffer->WriteString("");
}

// --- Values -----------------------------------------------------------------

TDataConnectFieldDef& TDcCustomConnection::NextColumn() {
    if (FColumnIndex < 0 || FColumnIndex >= ColumnCount())
        throw EReportPrinter("Attempt to write more fields than defined.");
    return FColumns[FColumnIndex];
}

void TDcCustomConnection::PutValue(std::initializer_list<TRPDataType> Accepts,
                                   const std::function<bool(const TRPFilterValue&)>& Matches,
                                   const AnsiString& Display, const AnsiString& ValueText,
                                   std::size_t ValueSize, const std::function<void()>& Write) {
    TDataConnectFieldDef& column = NextColumn();
    if (column.Included && FFilterMatch) {
        if (FLocalFilter && Matches && column.FilterValue && !Matches(*column.FilterValue)) {
            FFilterMatch = false;
        } else {
            if (std::find(Accepts.begin(), Accepts.end(), column.DataType) == Accepts.end())
                throw EReportPrinter(
                    Format("Attempt to write different data type than defined (Column %0:s/%1:s).",
                           IntToStr(FColumnIndex + 1), IntToStr(ColumnCount())));
            if (FRowTable == 0) throw EReportPrinter("No row is being written.");
            const bool showDisplay = !Display.empty() && Display != ValueText;
            FBuffer->MakeRoom((showDisplay ? TRPBuffer::StringSize(Display) : 0) + ValueSize);
            const std::size_t entry = FRowTable + 8 * static_cast<std::size_t>(column.OutputIndex);
            if (showDisplay) {
                FBuffer->PatchInt32(entry + 4,
                                    static_cast<std::int32_t>(FBuffer->Position() - FRowTable));
                FBuffer->WriteString(Display);
            }
            FBuffer->PatchInt32(entry, static_cast<std::int32_t>(FBuffer->Position() - FRowTable));
            Write();
        }
    }
    ++FColumnIndex;
}

void TDcCustomConnection::WriteStringValue(const AnsiString& Display, const AnsiString& Value) {
    PutValue(
        {dtString}, [&](const TRPFilterValue& F) { return AnsiCompareStr(F.Text, Value) == 0; },
        Display, Value, TRPBuffer::StringSize(Value), [&] { FBuffer->WriteString(Value); });
}

void TDcCustomConnection::WriteIntegerValue(const AnsiString& Display, std::int32_t Value) {
    PutValue(
        {dtInteger}, [&](const TRPFilterValue& F) { return F.Whole == Value; }, Display,
        IntToStr(Value), 4, [&] { FBuffer->WriteInt32(Value); });
}

void TDcCustomConnection::WriteInt64Value(const AnsiString& Display, std::int64_t Value) {
    PutValue(
        {dtInt64}, [&](const TRPFilterValue& F) { return F.Whole == Value; }, Display,
        IntToStr(Value), 8, [&] { FBuffer->WriteInt64(Value); });
}

void TDcCustomConnection::WriteBooleanValue(const AnsiString& Display, bool Value) {
    PutValue(
        {dtBoolean}, [&](const TRPFilterValue& F) { return (F.Whole != 0) == Value; }, Display,
        Value ? "True" : "False", 1, [&] { FBuffer->WriteByte(Value ? 1 : 0); });
}

void TDcCustomConnection::WriteFloatValue(const AnsiString& Display, double Value) {
    PutValue(
        {dtFloat}, [&](const TRPFilterValue& F) { return F.Real == Value; }, Display,
        FloatToStr(Value), 10, [&] { FBuffer->WriteExtended(Value); });
}

void TDcCustomConnection::WriteCurrencyValue(const AnsiString& Display, const Currency& Value) {
    PutValue(
        {dtCurrency}, [&](const TRPFilterValue& F) { return F.Whole == Value.Val; }, Display,
        CurrToStr(Value), 8, [&] { FBuffer->WriteInt64(Value.Val); });
}

void TDcCustomConnection::WriteBCDValue(const AnsiString& Display, const Currency& Value) {
    PutValue(
        {dtBCD}, [&](const TRPFilterValue& F) { return F.Whole == Value.Val; }, Display,
        CurrToStr(Value), 8, [&] { FBuffer->WriteInt64(Value.Val); });
}

void TDcCustomConnection::WriteDateTimeValue(const AnsiString& Display, TDateTime Value) {
    const double days = static_cast<double>(Value);
    PutValue(
        {dtDate, dtTime, dtDateTime}, [&](const TRPFilterValue& F) { return F.Real == days; },
        Display, DateTimeToStr(Value), 8, [&] { FBuffer->WriteDouble(days); });
}

void TDcCustomConnection::WriteBlobValue(const AnsiString& Bytes) {
    PutValue({dtBlob, dtMemo, dtGraphic}, nullptr, "", "", 4 + Bytes.size(),
             [&] { FBuffer->WriteBlob(Bytes); });
}

void TDcCustomConnection::WriteNullValue() {
    TDataConnectFieldDef& column = NextColumn();
    if (FLocalFilter && column.FilterValue) {
        FFilterMatch = false;
    } else if (column.Included && FFilterMatch && FRowTable != 0) {
        FBuffer->PatchInt32(FRowTable + 8 * static_cast<std::size_t>(column.OutputIndex), -1);
    }
    ++FColumnIndex;
}

// --- Handshake --------------------------------------------------------------

void TDcCustomConnection::WriteHandshake() {
    FBuffer->Rewind();
    FBuffer->WriteString(ListenName());
    FBuffer->WriteByte(FRunTime ? 1 : 0);
    FBuffer->WriteInt32(DataConnectManager().MainWindowHandle());
    FBuffer->WriteInt32(FIdentity);
    FBuffer->WriteInt32(ProtocolVersion);
    FBuffer->WriteInt32(static_cast<std::int32_t>(FRuntimeVisibility));
    FBuffer->WriteHeader();
}

namespace {

const TTypeInfo& RuntimeVisibilityType() {
    static const TTypeInfo Info =
        MakeEnumType("TRuntimeVisibility", {"rtNone", "rtDeveloper", "rtEndUser"});
    return Info;
}

const TPublished<TDkComponent, TComponent> DkComponentClass("TDkComponent", [](auto& C) {
    C.Property("Version", &TDkComponent::Version, &TDkComponent::SetVersion).Stored(false);
});

// RuntimeVisibility is always stored, so that loading a form starts the
// listener. Forms of older versions stored "Visible" instead.
const TPublished<TDcCustomConnection, TDkComponent> CustomConnectionClass(
    "TDcCustomConnection",
    [](auto& C) {
        C.Property("LocalFilter", &TDcCustomConnection::LocalFilter,
                   &TDcCustomConnection::SetLocalFilter)
            .Stored([](const TDcCustomConnection& Self) {
                return Self.LocalFilter() != Self.LocalFilterDefault();
            });
        C.Property("RuntimeVisibility", &TDcCustomConnection::RuntimeVisibility,
                   &TDcCustomConnection::SetRuntimeVisibility, RuntimeVisibilityType());
        C.Property("FieldAliasList", &TDcCustomConnection::FieldAliasList, nullptr);
        C.DefineProperties([](TDcCustomConnection& Self, TFiler* Filer) {
            Filer->DefineProperty(
                "Visible", [&Self](TReader* Reader) { Self.ReadVisible(Reader->ReadBoolean()); },
                nullptr, false);
        });
    },
    true);

} // namespace

} // namespace reportconn
