#pragma once
// The base of the report-connection components: a component with a version.
#include "platform/classes/Component.h"

namespace reportconn {

class TDkComponent : public TComponent {
public:
    using TComponent::TComponent;
    AnsiString ClassName() const override { return "TDkComponent"; }

    AnsiString Version() const { return "1.0.0"; }
    // The version is the library's; a stored value is ignored.
    void SetVersion(const AnsiString&) {}
};

} // namespace reportconn
