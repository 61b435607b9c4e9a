#include "reportconn/DcDataSetConnection.h"

#include "platform/classes/Publish.h"
#include "platform/rtl/StrUtils.h"

namespace reportconn {

TRPDataType FieldTypeToRPDataType(TFieldType Type) {
    switch (Type) {
    case ftUnknown:
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
        return dtString;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return dtInteger;
    case ftBoolean:
        return dtBoolean;
    case ftFloat:
        return dtFloat;
    case ftCurrency:
        return dtCurrency;
    case ftBCD:
        return dtBCD;
    case ftDate:
        return dtDate;
    case ftTime:
        return dtTime;
    case ftDateTime:
        return dtDateTime;
    case ftMemo:
        return dtMemo;
    case ftGraphic:
        return dtGraphic;
    case ftLargeint:
        return dtInt64;
    default:
        return dtBlob;
    }
}

namespace {

// Content saved by a picture's stream comes wrapped in a small header (the
// 16-bit values 1 and 256 and the length of what follows); the engine wants
// the picture alone.
AnsiString StripBlobHeader(AnsiString Bytes) {
    if (Bytes.size() < 8) return Bytes;
    const auto* b = reinterpret_cast<const unsigned char*>(Bytes.data());
    const unsigned first = b[0] | (b[1] << 8);
    const unsigned second = b[2] | (b[3] << 8);
    const std::uint32_t length = b[4] | (b[5] << 8) | (b[6] << 16) | (std::uint32_t(b[7]) << 24);
    if (first == 1 && second == 256 && length == Bytes.size() - 8) Bytes.erase(0, 8);
    return Bytes;
}

} // namespace

void TDcCustomDataSetConnection::DoFirst() {
    if (DataSet()) DataSet()->First();
}

void TDcCustomDataSetConnection::DoNext() {
    if (DataSet()) DataSet()->Next();
}

bool TDcCustomDataSetConnection::DoEOF() {
    TDataSet* data = DataSet();
    bool eof = !data || data->Eof();
    // Right after opening, only an empty dataset is at its end.
    if (FJustOpened && data) eof = eof && data->Bof();
    FJustOpened = false;
    return eof;
}

void TDcCustomDataSetConnection::DoGetCols() {
    TDataSet* data = DataSet();
    if (!data) return;
    for (int i = 0; i < data->FieldCount(); ++i) {
        TField* field = data->Fields()[i];
        const AnsiString label = field->DisplayLabel();
        DefineColumn(field->FieldName(), FieldTypeToRPDataType(field->DataType()), "",
                     label != field->FieldName() ? label : AnsiString(), field->DataSize());
    }
}

void TDcCustomDataSetConnection::DoGetRow() {
    TDataSet* data = DataSet();
    if (!data) return;
    for (int i = 0; i < data->FieldCount(); ++i) {
        TField* field = data->Fields()[i];
        if (field->IsNull() || (i < ColumnCount() && !Columns(i).Included)) {
            WriteNullValue();
            continue;
        }
        const AnsiString display = field->DisplayText();
        switch (const TRPDataType type = FieldTypeToRPDataType(field->DataType())) {
        case dtString:
            WriteStringValue(display, field->AsString());
            break;
        case dtInteger:
            WriteIntegerValue(display, field->AsInteger());
            break;
        case dtBoolean:
            WriteBooleanValue(display, field->AsBoolean());
            break;
        case dtFloat:
            WriteFloatValue(display, field->AsFloat());
            break;
        case dtCurrency:
            WriteCurrencyValue(display, field->AsCurrency());
            break;
        case dtBCD:
            WriteBCDValue(display, field->AsCurrency());
            break;
        case dtInt64:
            WriteInt64Value(display, static_cast<std::int64_t>(field->Value()));
            break;
        case dtDate:
        case dtTime:
        case dtDateTime:
            WriteDateTimeValue(display, field->AsDateTime());
            break;
        default: {
            AnsiString content = field->AsString();
            if (type == dtBlob || type == dtGraphic) content = StripBlobHeader(std::move(content));
            WriteBlobValue(content);
            break;
        }
        }
    }
}

void TDcCustomDataSetConnection::DoSetFilter() {
    AnsiString text;
    while (ReadFilterItem()) {
        if (!text.empty()) text += " and ";
        text +=
            "[" + FilterFieldName() + "] " + FilterOperator() + " " + QuotedStr(FilterValueText());
    }
    if (TDataSet* data = DataSet()) {
        data->SetFilter(text);
        TFilterOptions options;
        options.Include(foNoPartialCompare);
        data->SetFilterOptions(options);
        data->SetFiltered(!text.empty());
    }
}

void TDcCustomDataSetConnection::DoOpen() {
    TDataSet* data = DataSet();
    FJustOpened = true;
    if (!data) return;
    // A second open before the restore keeps what the first one saved: the
    // dataset now shows the engine's state, not the user's.
    if (!FOpened) {
        FSavedActive = data->Active();
        if (FSavedActive && FRestoreDataSet) FSavedBookmark = data->GetBookmark();
        if (FDisableDataSource) data->DisableControls();
        if (FRestoreDataSet) {
            FSavedFilter = data->Filter();
            FSavedFiltered = data->Filtered();
            FSavedFilterOptions = data->FilterOptions();
        }
        // Counts as opened before the dataset is: an open that fails half-way
        // (the dataset active, controls held, the engine's filter to come) is
        // still undone by the restore.
        FOpened = true;
    }
    if (!data->Active()) {
        data->Open();
        data->First();
    }
}

void TDcCustomDataSetConnection::DoRestore() {
    TDataSet* data = DataSet();
    if (!FOpened || !data) return;
    if (!FSavedActive) data->Close();
    if (FDisableDataSource) data->EnableControls();
    if (FRestoreDataSet) {
        data->SetFilter(FSavedFilter);
        data->SetFilterOptions(FSavedFilterOptions);
        data->SetFiltered(FSavedFiltered);
        if (FSavedActive && data->Active() && data->BookmarkValid(FSavedBookmark))
            data->GotoBookmark(FSavedBookmark);
        data->FreeBookmark(FSavedBookmark);
    }
    FOpened = false;
}

TDcQueryConnection::TDcQueryConnection(TComponent* AOwner) : TDcCustomDataSetConnection(AOwner) {
    SetLocalFilter(false);
}

TDcQueryConnection::~TDcQueryConnection() {
    StopListener();
    SetQuery(nullptr);
}

void TDcQueryConnection::SetQuery(TQuery* Value) {
    if (FQuery == Value) return;
    if (FQuery) FQuery->RemoveFreeNotification(this);
    FQuery = Value;
    if (FQuery) FQuery->FreeNotification(this);
}

void TDcQueryConnection::Notification(TComponent* AComponent, TOperation Operation) {
    TDcCustomDataSetConnection::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FQuery) FQuery = nullptr;
}

namespace {

const TPublished<TDcCustomDataSetConnection, TDcCustomConnection>
    DataSetConnectionClass("TDcCustomDataSetConnection", [](auto& C) {
        C.Property("DisableDataSource", &TDcCustomDataSetConnection::DisableDataSource,
                   &TDcCustomDataSetConnection::SetDisableDataSource)
            .Default(true);
        C.Property("RestoreDataSet", &TDcCustomDataSetConnection::RestoreDataSet,
                   &TDcCustomDataSetConnection::SetRestoreDataSet)
            .Default(true);
    });

const TPublished<TDcQueryConnection, TDcCustomDataSetConnection> QueryConnectionClass(
    "TDcQueryConnection",
    [](auto& C) { C.Property("Query", &TDcQueryConnection::Query, &TDcQueryConnection::SetQuery); },
    true);

} // namespace

} // namespace reportconn
