#pragma once
// Saving a component as form text and loading form text into one, the way
// the designer saves a form and the program loads it.
#include "platform/classes/Component.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/rtl/Streams.h"

#include <string>

// Copies From into Into through the binary form file, as a saved form is
// loaded again.
inline void CopyThroughFormFile(TComponent& From, TComponent& Into) {
    TMemoryStream Stream;
    WriteComponentRes(&Stream, &From);
    Stream.SetPosition(0);
    ReadComponentRes(&Stream, &Into);
}

// The form text of Root.
inline std::string FormText(TComponent& Root) {
    TMemoryStream Binary, Text;
    WriteComponentRes(&Binary, &Root);
    Binary.SetPosition(0);
    ObjectBinaryToText(&Binary, &Text);
    return std::string(static_cast<const char*>(Text.Memory()),
                       static_cast<std::size_t>(Text.GetSize()));
}

// Reads a form text into Root.
inline void ReadFormText(const std::string& Form, TComponent& Root) {
    TMemoryStream Text, Binary;
    Text.WriteBuffer(Form.data(), static_cast<int>(Form.size()));
    Text.SetPosition(0);
    ObjectTextToBinary(&Text, &Binary);
    Binary.SetPosition(0);
    ReadComponentRes(&Binary, &Root);
}
