#pragma once
// Reading a column of a lookup's current row by name, the ways the alert
// checks need: the typed getters (a NULL, or no row at all, gives 0 or the
// empty text) and the explicit NULL test.
#include "platform/data/DataSet.h"

inline AnsiString FieldText(const TDataSet& Data, const AnsiString& Name) {
    return Data.FieldByName(Name)->AsString();
}
inline int FieldInt(const TDataSet& Data, const AnsiString& Name) {
    return Data.FieldByName(Name)->AsInteger();
}
inline double FieldFloat(const TDataSet& Data, const AnsiString& Name) {
    return Data.FieldByName(Name)->AsFloat();
}
inline bool FieldIsNull(const TDataSet& Data, const AnsiString& Name) {
    return Data.FieldByName(Name)->IsNull();
}
// The integer value, or Default when the column is NULL (or there is no row).
inline int FieldIntOr(const TDataSet& Data, const AnsiString& Name, int Default) {
    const TField* field = Data.FieldByName(Name);
    return field->IsNull() ? Default : field->AsInteger();
}
