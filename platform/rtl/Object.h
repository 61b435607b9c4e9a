#pragma once
// The root of the class tree: a virtual destructor so an owner can free what
// it holds through a base pointer, and the class name the framework reports
// in its messages ("Cannot assign a %s to a %s").
#include "platform/rtl/AnsiString.h"

#include <functional>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    virtual AnsiString ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
