// Saving and loading a grid's state through the component stream, and the
// grid's own form data. A load first runs on a scratch grid holding the
// same state; only when the stream read there without fault is it read
// into this grid, so a damaged stream leaves the grid as it was.
#include "grid/model/GridPersistence.h"

#include "grid/foundation/CellStore.h"
#include "grid/foundation/IntLists.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/GridGuards.h"
#include "grid/model/GridPropCollections.h"
#include "grid/model/GridTypeInfo.h"
#include "grid/model/PropDefaults.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace grid {

namespace {

// Raises a counter for the lifetime of the guard.
class TCounterUp {
public:
    explicit TCounterUp(int& Counter) : FCounter(Counter) { ++FCounter; }
    ~TCounterUp() { --FCounter; }
    TCounterUp(const TCounterUp&) = delete;
    TCounterUp& operator=(const TCounterUp&) = delete;

private:
    int& FCounter;
};

class TSaveAllOff {
public:
    explicit TSaveAllOff(TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.SetSaveAllProps(false); }
    ~TSaveAllOff() { FGrid.SetSaveAllProps(true); }
    TSaveAllOff(const TSaveAllOff&) = delete;
    TSaveAllOff& operator=(const TSaveAllOff&) = delete;

private:
    TgxBaseGrid& FGrid;
};

// The class name and the root's name at the head of a component stream;
// empty where the bytes run out.
struct TStreamHead {
    AnsiString ClassName;
    AnsiString RootName;
};

TStreamHead ReadStreamHead(const unsigned char* P, std::int64_t Size) {
    TStreamHead Head;
    if (Size < 4 || std::memcmp(P, FilerSignature, 4) != 0) return Head;
    std::int64_t At = 4;
    if (At < Size && (P[At] & 0xF0) == 0xF0) ++At; // flags; a saved grid never has a position
    const auto Next = [&](AnsiString& Text) {
        if (At >= Size) return false;
        const std::int64_t Length = P[At];
        if (At + 1 + Length > Size) return false;
        Text.assign(reinterpret_cast<const char*>(P + At + 1), static_cast<std::size_t>(Length));
        At += 1 + Length;
        return true;
    };
    if (Next(Head.ClassName)) Next(Head.RootName);
    return Head;
}

// The reader gives a root without a name the stored one. A grid without a
// name whose owner holds another component of that name would fail there,
// after the groups it loads were reset: such a grid reads under a name of
// its own and is left without one.
class TKeepName {
public:
    TKeepName(TComponent& Grid, TStream* Stream) : FGrid(Grid) {
        TComponent* Owner = FGrid.Owner();
        if (!FGrid.Name().empty() || !Owner) return;
        unsigned char Bytes[4 + 1 + 2 * 256];
        const std::int64_t Start = Stream->GetPosition();
        const int Got = Stream->Read(Bytes, static_cast<int>(sizeof Bytes));
        Stream->SetPosition(Start);
        const AnsiString Stored = ReadStreamHead(Bytes, std::max(Got, 0)).RootName;
        if (Stored.empty() || !Owner->FindComponent(Stored)) return;
        AnsiString Name = "gxGridLoading";
        for (int I = 1; Owner->FindComponent(Name); ++I)
            Name = "gxGridLoading" + std::to_string(I);
        FGrid.SetName(Name);
        FNamed = true;
    }
    ~TKeepName() {
        if (FNamed) FGrid.SetName("");
    }
    TKeepName(const TKeepName&) = delete;
    TKeepName& operator=(const TKeepName&) = delete;

private:
    TComponent& FGrid;
    bool FNamed = false;
};

constexpr const char* StreamClassName = "TgxGridStreamComponent";

// The stream must hold a saved grid: the signature, then that class name.
void CheckStreamClass(TMemoryStream& Bytes) {
    const auto* P = static_cast<const unsigned char*>(Bytes.Memory());
    const std::int64_t Size = Bytes.GetSize();
    if (Size < 4 || std::memcmp(P, FilerSignature, 4) != 0)
        throw EReadError("Invalid stream format: not a saved grid");
    const AnsiString Name = ReadStreamHead(P, Size).ClassName;
    if (Name != StreamClassName)
        throw EReadError("Invalid stream format: a saved grid starts with " +
                         AnsiString(StreamClassName) + ", not '" + Name + "'");
}

// The five bytes of a property set, bit n for property n.
AnsiString PropertyBytes(TgxProperties Properties) {
    AnsiString Bytes(5, '\0');
    for (int I = 0; I < 5; ++I)
        Bytes[static_cast<std::size_t>(I)] =
            static_cast<char>((Properties.Bits() >> (8 * I)) & 0xFF);
    return Bytes;
}

TgxProperties PropertiesFromBytes(const AnsiString& Bytes) {
    TgxProperties::TBits Bits = 0;
    for (std::size_t I = 0; I < 5 && I < Bytes.size(); ++I)
        Bits |= TgxProperties::TBits{static_cast<unsigned char>(Bytes[I])} << (8 * I);
    return TgxProperties::FromBits(Bits) * AllProperties();
}

int ReadCount(TReader* Reader, const char* What, int Max) {
    const int Value = Reader->ReadInteger();
    TgxBaseGrid::CheckStreamCount(What, Value, Max);
    return Value;
}

// A size read from a stream; a default size must be at least 1, as a
// default of 0 would hide every new column or row.
int ReadExtent(TReader* Reader, const char* What, int Min = 0) {
    const int Value = Reader->ReadInteger();
    TgxBaseGrid::CheckStreamSize(What, Value, Min);
    return Value;
}

// Two collections hold the same items when they stream the same.
bool SameItems(TCollection* A, TCollection* B) {
    const auto Streamed = [](TCollection* C) {
        TMemoryStream S;
        {
            TWriter Writer(&S);
            Writer.WriteCollection(C);
        }
        return AnsiString(static_cast<const char*>(S.Memory()),
                          static_cast<std::size_t>(S.GetSize()));
    };
    return Streamed(A) == Streamed(B);
}

std::unique_ptr<TgxColCollection> ReadColumnItems(TgxBaseGrid* Grid, TReader* Reader,
                                                  TgxColMatch ColMatch) {
    auto Cols = CreateColCollection(Grid, false);
    Cols->SetReadByNumber(ColMatch != cmaFieldName);
    Reader->ReadCollection(Cols.get());
    return Cols;
}

// Each cell item keeps the facade its links are resolved on once the whole
// stream is read, so the caller keeps the collection until then.
std::unique_ptr<TgxCellCollection> ReadCellItems(TgxBaseGrid* Grid, TReader* Reader) {
    auto Cells = CreateCellCollection(Grid, false);
    Reader->ReadCollection(Cells.get());
    return Cells;
}

} // namespace

// ---- the stream component ----------------------------------------------------------------

TgxGridStreamComponent::~TgxGridStreamComponent() = default;

TgxBaseGrid* TgxGridStreamComponent::SourceGrid() {
    if (FAllProperties) return FGrid;
    if (!FCopy) {
        // A throw-away copy, so saving a part never changes the grid.
        FCopy = FGrid->CreateSameGrid();
        FCopy->AssignPropKinds(FGrid, AllPropKinds, FSaveData);
        const TgxProperties Others = AllProperties() - FProperties;
        if (FKinds.Contains(pkCols)) FCopy->ResetColProperties(Others);
        if (FKinds.Contains(pkRows)) FCopy->ResetRowProperties(Others);
        if (FKinds.Contains(pkCells)) FCopy->ResetCellProperties(Others);
    }
    return FCopy.get();
}

void TgxGridStreamComponent::ReadStep(int Step, const char* Name) {
    if (Step <= FReadStep)
        throw EReadError(Format("%s comes again or out of order in the saved grid", Name));
    FReadStep = Step;
}

void TgxGridStreamComponent::ResetForLoad() {
    TgxBaseGrid* G = FGrid;
    if (!FAllProperties) {
        if (FKinds.Contains(pkCols) && G->ColMatch() == cmaNone) G->ResetColProperties(FProperties);
        if (FKinds.Contains(pkRows)) G->ResetRowProperties(FProperties);
        if (FKinds.Contains(pkCells)) G->ResetCellProperties(FProperties);
        return;
    }
    if (G->ColMatch() != cmaFieldName) {
        G->ResetPropKinds(FKinds);
        return;
    }
    // Matched by field name the grid keeps its columns; the other groups
    // start afresh.
    G->ResetPropKinds(FKinds - TgxPropKinds{pkCols});
}

void TgxGridStreamComponent::DefineProperties(TFiler* Filer) {
    TComponent::DefineProperties(Filer);
    TgxBaseGrid* G = FGrid;
    const bool Writing = dynamic_cast<TWriter*>(Filer) != nullptr;
    Filer->DefineProperty(
        "Properties",
        [this](TReader* R) {
            ReadStep(1, "Properties");
            if (R->NextValue() == vaSet) {
                // An older stream: every property, the set's names dropped.
                R->SkipValue();
                FProperties = AllProperties();
                return;
            }
            FProperties = PropertiesFromBytes(R->ReadString());
        },
        [this](TWriter* W) { W->WriteString(PropertyBytes(FProperties)); }, true);
    Filer->DefineProperty(
        "AllProperties",
        [this](TReader* R) {
            ReadStep(2, "AllProperties");
            FAllProperties = R->ReadBoolean();
            if (FAllProperties) FProperties = AllProperties();
        },
        [this](TWriter* W) { W->WriteBoolean(FAllProperties); }, true);
    Filer->DefineProperty(
        "ResetProps",
        [this](TReader* R) {
            ReadStep(3, "ResetProps");
            if (R->ReadBoolean()) ResetForLoad();
        },
        [](TWriter* W) { W->WriteBoolean(true); }, true);
    Filer->DefineBinaryProperty(
        "Grid",
        [this, G](TStream* S) {
            ReadStep(4, "Grid");
            TKeepName Keep(*G, S);
            TReader Reader(S);
            Reader.ReadRootComponent(G);
        },
        [G](TStream* S) {
            TSaveAllOff Off(*G);
            TWriter Writer(S);
            Writer.WriteRootComponent(G);
        },
        FKinds.Contains(pkGrid));

    TgxBaseGrid* Source = Writing ? SourceGrid() : G;
    Filer->DefineProperty(
        "Cols",
        [this, G](TReader* R) {
            ReadStep(5, "Cols");
            const int Count = ReadCount(R, "Cols", TgxBaseGrid::MaxStreamCols);
            if (G->ColMatch() == cmaNone) G->SetGridColCount(Count);
        },
        [Source](TWriter* W) { W->WriteInteger(Source->GetGridColCount()); },
        FKinds.Contains(pkCols));
    Filer->DefineProperty(
        "Rows",
        [this, G](TReader* R) {
            ReadStep(6, "Rows");
            G->SetGridRowCount(ReadCount(R, "Rows", TgxBaseGrid::MaxStreamRows));
        },
        [Source](TWriter* W) { W->WriteInteger(Source->GetGridRowCount()); },
        FKinds.Contains(pkRows) && !FKinds.Contains(pkGrid));
    Filer->DefineProperty(
        "DefaultColWidth",
        [this, G](TReader* R) {
            ReadStep(7, "DefaultColWidth");
            G->SetDefaultColWidth(ReadExtent(R, "DefaultColWidth", 1));
        },
        [Source](TWriter* W) { W->WriteInteger(Source->DefaultColWidth()); },
        FKinds.Contains(pkCols) && !FKinds.Contains(pkGrid) && FProperties.Contains(prWidth));
    Filer->DefineProperty(
        "DefaultRowHeight",
        [this, G](TReader* R) {
            ReadStep(8, "DefaultRowHeight");
            G->SetDefaultRowHeight(ReadExtent(R, "DefaultRowHeight", 1));
        },
        [Source](TWriter* W) { W->WriteInteger(Source->DefaultRowHeight()); },
        FKinds.Contains(pkRows) && !FKinds.Contains(pkGrid) && FProperties.Contains(prHeight));
    Filer->DefineProperty(
        "ColProperties",
        [this, G](TReader* R) {
            ReadStep(9, "ColProperties");
            G->SetColResetProperties(FProperties);
            try {
                FReadItems.push_back(ReadColumnItems(G, R, G->ColMatch()));
            } catch (...) {
                G->SetColResetProperties({});
                throw;
            }
            G->SetColResetProperties({});
        },
        [Source](TWriter* W) { W->WriteCollection(CreateColCollection(Source, true).get()); },
        FKinds.Contains(pkCols));
    Filer->DefineProperty(
        "RowProperties",
        [this, G](TReader* R) {
            ReadStep(10, "RowProperties");
            R->ReadCollection(CreateRowCollection(G, false).get());
        },
        [Source](TWriter* W) { W->WriteCollection(CreateRowCollection(Source, true).get()); },
        FKinds.Contains(pkRows));
    Filer->DefineProperty(
        "CellProperties",
        [this, G](TReader* R) {
            ReadStep(11, "CellProperties");
            FReadItems.push_back(ReadCellItems(G, R));
        },
        [Source](TWriter* W) { W->WriteCollection(CreateCellCollection(Source, true).get()); },
        FKinds.Contains(pkCells));
    Filer->DefineProperty(
        "CurrentCell",
        [this, G](TReader* R) {
            ReadStep(12, "CurrentCell");
            G->ReadCurrentCell(R);
        },
        [Source](TWriter* W) { Source->WriteCurrentCell(W); },
        FKinds.Contains(pkCols) && FKinds.Contains(pkRows));
    Filer->DefineBinaryProperty(
        "Data",
        [this, G](TStream* S) {
            ReadStep(13, "Data");
            G->ReadStoreData(S);
        },
        [Source](TStream* S) { Source->DataStore()->SaveToStream(S); },
        FSaveData && Source->StoreData() && Source->DataStore());
}

namespace {

const TPublished<TgxGridStreamComponent>
    StreamComponentClass("TgxGridStreamComponent", [](auto& C) {
        C.Property("SavePropKinds", &TgxGridStreamComponent::SavePropKinds,
                   &TgxGridStreamComponent::SetSavePropKinds, PropKindsTypeInfo());
        // Always written, as the kinds are: a reader sees what was chosen.
        C.Property("SaveData", &TgxGridStreamComponent::SaveData,
                   &TgxGridStreamComponent::SetSaveData);
    });

} // namespace

// ---- the grid's side -----------------------------------------------------------------------

void TgxBaseGrid::CheckStreamCount(const char* What, int Value, int Max) {
    if (Value < 0 || Value > Max)
        throw EReadError(Format("%s %d is outside 0..%d", What, Value, Max));
}

void TgxBaseGrid::CheckStreamSize(const char* What, int Value, int Min) {
    if (Value < Min || Value > MaxStreamExtent)
        throw EReadError(Format("%s %d is outside %d..%d", What, Value, Min, MaxStreamExtent));
}

void TgxBaseGrid::SetSaveAllProps(bool Value) {
    if (!Value)
        ++FSaveAllLock;
    else if (FSaveAllLock > 0)
        --FSaveAllLock;
}

bool TgxBaseGrid::Reading() const {
    if (FStateLoads > 0 || ComponentState().Contains(csReading)) return true;
    const TgxBaseGrid* Parent = GetParentGrid();
    return Parent && Parent->Reading();
}

bool TgxBaseGrid::Writing() const {
    if (FStateSaves > 0 || ComponentState().Contains(csWriting)) return true;
    const TgxBaseGrid* Parent = GetParentGrid();
    return Parent && Parent->Writing();
}

void TgxBaseGrid::RecordReadCol(int StoredCol, int DataCol) {
    if (StoredCol < 1) return;
    if (!FReadColMap) FReadColMap = std::make_unique<TgxIntegerList>();
    while (FReadColMap->Count() < StoredCol)
        FReadColMap->AddItem(0);
    FReadColMap->SetItem(StoredCol - 1, DataCol);
}

int TgxBaseGrid::ReadColFor(int StoredCol) const {
    if (!FReadColMap || StoredCol < 1 || StoredCol > FReadColMap->Count()) return 0;
    return FReadColMap->GetItem(StoredCol - 1);
}

void TgxBaseGrid::SaveToStream(TStream* Stream, bool SaveData) {
    SavePropToStream(Stream, AllPropKinds, AllProperties(), SaveData);
}

void TgxBaseGrid::SavePropToStream(TStream* Stream, TgxPropKinds Kinds, TgxProperties Properties,
                                   bool SaveData) {
    TgxGridStreamComponent Component(nullptr);
    Component.SetGrid(this);
    Component.SetSavePropKinds(Kinds);
    if (Properties.Contains(prAlign) || Properties.Contains(prAlignment) ||
        Properties.Contains(prHorzAlignment))
        Properties = Properties + TgxProperties{prAlign, prAlignment, prHorzAlignment};
    Properties = Properties * AllProperties();
    Component.SetProperties(Properties);
    Component.SetAllProperties(Properties == AllProperties());
    Component.SetSaveData(SaveData);
    TgxFastAssignOn Fast(*this);
    TCounterUp Saving(FStateSaves);
    TWriter Writer(Stream);
    Writer.WriteRootComponent(&Component);
}

void TgxBaseGrid::ReadState(TStream* Stream, TgxColMatch ColMatch) {
    TgxGridStreamComponent Component(nullptr);
    Component.SetGrid(this);
    TgxFastAssignOn Fast(*this);
    TCounterUp Loading(FStateLoads);
    FColMatch = ColMatch;
    struct TCleanUp {
        TgxBaseGrid& Grid;
        ~TCleanUp() {
            Grid.FColMatch = cmaNone;
            Grid.FReadColMap.reset();
            Grid.FColResetProps = {};
        }
    } CleanUp{*this};
    TReader Reader(Stream);
    Reader.ReadRootComponent(&Component);
    CheckGridStatus();
}

void TgxBaseGrid::LoadFromStream(TStream* Stream, TgxColMatch ColMatch) {
    TMemoryStream Bytes;
    const std::int64_t Left = Stream->GetSize() - Stream->GetPosition();
    if (Left > 0) Bytes.CopyFrom(Stream, Left);
    CheckStreamClass(Bytes);
    {
        // The trial: a scratch grid in this grid's state takes the stream.
        std::unique_ptr<TgxBaseGrid> Trial = CreateSameGrid();
        TMemoryStream Now;
        SaveToStream(&Now, true);
        Now.SetPosition(0);
        Trial->ReadState(&Now, cmaNone);
        Bytes.SetPosition(0);
        Trial->ReadState(&Bytes, ColMatch);
    }
    Bytes.SetPosition(0);
    ReadState(&Bytes, ColMatch);
    // The editor still holds the current cell's value from before the load:
    // it takes the loaded one, which a later end of the edit would
    // otherwise overwrite.
    ClearCellBuffer();
    RedisplayControl();
}

void TgxBaseGrid::SaveToFile(const AnsiString& FileName, bool SaveData) {
    SavePropToFile(FileName, AllPropKinds, AllProperties(), SaveData);
}

void TgxBaseGrid::SavePropToFile(const AnsiString& FileName, TgxPropKinds Kinds,
                                 TgxProperties Properties, bool SaveData) {
    TMemoryStream Stream;
    SavePropToStream(&Stream, Kinds, Properties, SaveData);
    Stream.SaveToFile(FileName);
}

void TgxBaseGrid::LoadFromFile(const AnsiString& FileName, TgxColMatch ColMatch) {
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&Stream, ColMatch);
}

void TgxBaseGrid::WriteCurrentCell(TWriter* Writer) {
    Writer->WriteListBegin();
    for (int V : {FCurrent.X, FCurrent.Y, FAnchor.X, FAnchor.Y})
        Writer->WriteInteger(V);
    Writer->WriteListEnd();
}

void TgxBaseGrid::ReadCurrentCell(TReader* Reader) {
    Reader->ReadListBegin();
    int Values[4];
    const char* Names[4] = {"current column", "current row", "anchor column", "anchor row"};
    for (int I = 0; I < 4; ++I) {
        if (Reader->EndOfList()) throw EReadError("CurrentCell holds fewer than 4 values");
        Values[I] = Reader->ReadInteger();
        // Matched by field name the columns are this grid's own: the stored
        // position means nothing here and is dropped.
        if (FColMatch == cmaFieldName) continue;
        const int Count = I % 2 == 0 ? ColCount() : RowCount();
        if (Values[I] < 0 || Values[I] >= Count)
            throw EReadError(
                Format("CurrentCell: %s %d is outside 0..%d", Names[I], Values[I], Count - 1));
    }
    if (!Reader->EndOfList()) throw EReadError("CurrentCell holds more than 4 values");
    Reader->ReadListEnd();
    if (FColMatch == cmaFieldName) return;
    FCurrent = {Values[0], Values[1]};
    FAnchor = {Values[2], Values[3]};
    CheckGridStatus();
    InvalidateGridNow();
}

void TgxBaseGrid::ReadStoreData(TStream* Stream) {
    SetStoreData(true);
    if (FColMatch == cmaFieldName) {
        // Stored columns no field name matched are dropped, not kept at
        // their stored numbers.
        if (!FReadColMap) FReadColMap = std::make_unique<TgxIntegerList>();
        while (FReadColMap->Count() < MaxStreamCols)
            FReadColMap->AddItem(0);
    }
    FStore->LoadFromStream(Stream, FReadColMap.get());
    // Values outside the grid would never be shown, yet would be saved
    // and exported again: a stream holding them is damaged.
    const int Rows = FStore->MaxRowSet();
    if (Rows > GetGridRowCount())
        throw EReadError(
            Format("Data holds row %d of a grid with %d rows", Rows, GetGridRowCount()));
    for (int R = 1; R <= Rows; ++R)
        if (FStore->MaxColValueSet(R) > GetGridColCount())
            throw EReadError(Format("Data holds column %d of a grid with %d columns",
                                    FStore->MaxColValueSet(R), GetGridColCount()));
}

void TgxBaseGrid::DefineProperties(TFiler* Filer) {
    // The base control's own widths and heights stay out: columns and rows
    // carry their sizes.
    TCustomControl::DefineProperties(Filer);
    const auto ReadSizes = [](TReader* R, int Count, const char* What,
                              const std::function<void(int, int)>& Set) {
        R->ReadListBegin();
        for (int I = 0; !R->EndOfList(); ++I) {
            const int Size = ReadExtent(R, What);
            if (I < Count) Set(I, Size);
        }
        R->ReadListEnd();
    };
    Filer->DefineProperty(
        "ColWidths",
        [this, ReadSizes](TReader* R) {
            // Entry 0 is the row bar, whose width the grid keeps itself.
            ReadSizes(R, ColCount(), "ColWidths", [this](int I, int W) {
                if (I > 0)
                    SetColWidths(I, W);
                else if (GetRowBarOn())
                    SetRowBarWidth(W);
            });
        },
        nullptr, false);
    Filer->DefineProperty(
        "RowHeights",
        [this, ReadSizes](TReader* R) {
            // Entry 0 is the heading, whose height the grid keeps itself.
            ReadSizes(R, RowCount(), "RowHeights", [this](int I, int H) {
                if (I > 0)
                    SetRowHeights(I, H);
                else if (GetHeadingOn())
                    SetHeadingHeight(H);
            });
        },
        nullptr, false);
    // An older form's edit mode, kept now as the grid mode.
    Filer->DefineProperty(
        "EditMode", [this](TReader* R) { SetEditMode(EditModeStrValue(R->ReadIdent())); },
        nullptr, false);
    // An older form's heading alignment: left leaves the default.
    Filer->DefineProperty(
        "HeadingAlignment",
        [this](TReader* R) { SetHeadingAlignment(static_cast<TAlignment>(ReadOldAlignment(*R))); },
        nullptr, false);
    Filer->DefineProperty(
        "ImageListIds", [this](TReader* R) { FImageListIds->SetCommaText(R->ReadString()); },
        [this](TWriter* W) { W->WriteString(FImageListIds->CommaText()); },
        FImageListIds->Count() > 0);

    const bool Writing = dynamic_cast<TWriter*>(Filer) != nullptr;
    const bool All = GetSaveAllProps();
    std::unique_ptr<TgxColCollection> Cols;
    std::unique_ptr<TgxPropCollection> Rows;
    std::unique_ptr<TgxCellCollection> Cells;
    if (Writing && All) {
        Cols = CreateColCollection(this, true);
        Rows = CreateRowCollection(this, true);
        Cells = CreateCellCollection(this, true);
        // Written as a descendant, the columns are kept only where they
        // differ from the ancestor grid's.
        if (auto* Ancestor = dynamic_cast<TgxBaseGrid*>(Filer->Ancestor());
            Ancestor && Cols->Count() > 0 &&
            SameItems(Cols.get(), CreateColCollection(Ancestor, true).get()))
            Cols->Clear();
    }
    // A saved grid carries these beside the grid's own properties, never
    // inside them: there they could come after the counts they depend on.
    const auto NotInSavedGrid = [this](const char* Name) {
        if (FStateLoads > 0)
            throw EReadError(Format("%s is not part of a saved grid's Grid", Name));
    };
    Filer->DefineProperty(
        "ColProperties",
        [this, NotInSavedGrid](TReader* R) {
            NotInSavedGrid("ColProperties");
            ReadColumnItems(this, R, cmaNone);
        },
        [&Cols](TWriter* W) { W->WriteCollection(Cols.get()); }, Cols && Cols->Count() > 0);
    Filer->DefineProperty(
        "RowProperties",
        [this, NotInSavedGrid](TReader* R) {
            NotInSavedGrid("RowProperties");
            R->ReadCollection(CreateRowCollection(this, false).get());
        },
        [&Rows](TWriter* W) { W->WriteCollection(Rows.get()); }, Rows && Rows->Count() > 0);
    Filer->DefineProperty(
        "CellProperties",
        [this, NotInSavedGrid](TReader* R) {
            NotInSavedGrid("CellProperties");
            FReadCellItems.push_back(ReadCellItems(this, R));
        },
        [&Cells](TWriter* W) { W->WriteCollection(Cells.get()); }, Cells && Cells->Count() > 0);
    Filer->DefineProperty(
        "CurrentCell",
        [this, NotInSavedGrid](TReader* R) {
            NotInSavedGrid("CurrentCell");
            ReadCurrentCell(R);
        },
        [this](TWriter* W) { WriteCurrentCell(W); },
        Writing && All && (FCurrent != TGridCoord{1, 1} || FAnchor != TGridCoord{1, 1}));
    Filer->DefineBinaryProperty(
        "Data",
        [this, NotInSavedGrid](TStream* S) {
            NotInSavedGrid("Data");
            ReadStoreData(S);
        },
        [this](TStream* S) { FStore->SaveToStream(S); }, All && StoreData() && FStore);
}

} // namespace grid
