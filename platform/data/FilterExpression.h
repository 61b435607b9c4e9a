#pragma once
// A data set's filter text, parsed once against its fields and evaluated
// against the current record (see TDataSet::SetFilter for the language).
#include "platform/data/DBTypes.h"
#include "platform/rtl/AnsiString.h"

#include <memory>

class TFields;

class TFilterExpression {
public:
    // Raises EDatabaseError naming the text for a syntax error, and
    // "Field '%s' not found" for an unknown field.
    TFilterExpression(const AnsiString& Text, const TFields& Fields, TFilterOptions Options);
    ~TFilterExpression();

    bool Evaluate() const;
    bool UsesCalculatedFields() const { return FUsesCalculated; }

    struct Node;

private:
    TFilterOptions FOptions;
    std::unique_ptr<Node> FRoot;
    bool FUsesCalculated = false;
};
