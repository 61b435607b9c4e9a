#include "datamodules/format/RowSearch.h"

#include "platform/data/DataSet.h"

int FindRowIndexByValue(TDataSet* DataSet, const AnsiString& FieldName, int Value) {
    if (!DataSet->Active()) DataSet->Open();
    DataSet->First();
    TField* field = DataSet->FieldByName(FieldName);
    for (int position = 0; !DataSet->Eof(); ++position, DataSet->Next()) {
        const Variant current = field->Value();
        if (!current.IsNull() && current == Value) return position;
    }
    return -99;
}
