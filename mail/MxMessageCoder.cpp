#include "mail/MxMessageCoder.h"

#include "mail/MxExceptions.h"
#include "mail/MxMessageCoderMIME.h"
#include "mail/MxMessageCoderUUE.h"
#include "mail/MxStreamLines.h"
#include "platform/rtl/StrUtils.h"

#include <mutex>
#include <utility>
#include <vector>

namespace mail {

namespace {

template <class Info> using TEntries = std::vector<std::pair<AnsiString, std::unique_ptr<Info>>>;

// The registries, made with the standard coders in the order their units
// register them: MIME, then UUE, then XXE (which has no decoder: the UUE
// decoder reads XXE blocks too).
struct TRegistry {
    TRegistry() {
        Decoders.emplace_back("MIME", std::make_unique<TMxMessageDecoderInfoMIME>());
        Encoders.emplace_back("MIME", std::make_unique<TMxMessageEncoderInfoMIME>());
        Decoders.emplace_back("UUE", std::make_unique<TMxMessageDecoderInfoUUE>());
        Encoders.emplace_back("UUE", std::make_unique<TMxMessageEncoderInfoUUE>());
        Encoders.emplace_back("XXE", std::make_unique<TMxMessageEncoderInfoXXE>());
    }
    std::mutex Lock;
    TEntries<TMxMessageEncoderInfo> Encoders;
    TEntries<TMxMessageDecoderInfo> Decoders;
};

TRegistry& Registry() {
    static TRegistry registry;
    return registry;
}

} // namespace

// ---------------------------------------------------------- decoder

TMxMessageDecoder::TMxMessageDecoder(TMxMessage* AMsg) : FMessage(AMsg) {}

TMxMessageDecoder::~TMxMessageDecoder() {
    SetSource(nullptr);
}

void TMxMessageDecoder::SetSource(TStream* ASource, bool AOwnsSource) {
    if (FOwnsSource && FSource != ASource) delete FSource;
    FSource = ASource;
    FOwnsSource = AOwnsSource;
}

AnsiString TMxMessageDecoder::ReadLine() {
    if (FSource == nullptr) throw EMxEndOfStream("The message decoder has no source to read from");
    // A connection's lines stay within its maximum line length; a source
    // that runs dry ends the part with an error rather than with endless
    // empty lines.
    return StreamReadLine(FSource, -1, true);
}

// ---------------------------------------------------------- registries

void TMxMessageEncoderList::RegisterEncoder(const AnsiString& AName,
                                            std::unique_ptr<TMxMessageEncoderInfo> AInfo) {
    TRegistry& registry = Registry();
    std::lock_guard guard(registry.Lock);
    registry.Encoders.emplace_back(AName, std::move(AInfo));
}

TMxMessageEncoderInfo* TMxMessageEncoderList::FindEncoder(const AnsiString& AName) {
    TRegistry& registry = Registry();
    std::lock_guard guard(registry.Lock);
    for (const auto& [name, info] : registry.Encoders) {
        if (SameText(name, AName)) return info.get();
    }
    throw EMxException("Message encoder not found: " + AName);
}

void TMxMessageDecoderList::RegisterDecoder(const AnsiString& AName,
                                            std::unique_ptr<TMxMessageDecoderInfo> AInfo) {
    TRegistry& registry = Registry();
    std::lock_guard guard(registry.Lock);
    registry.Decoders.emplace_back(AName, std::move(AInfo));
}

std::unique_ptr<TMxMessageDecoder> TMxMessageDecoderList::CheckForStart(TMxMessage* AMsg,
                                                                        const AnsiString& ALine) {
    std::vector<TMxMessageDecoderInfo*> infos;
    {
        TRegistry& registry = Registry();
        std::lock_guard guard(registry.Lock);
        for (const auto& entry : registry.Decoders)
            infos.push_back(entry.second.get());
    }
    for (TMxMessageDecoderInfo* info : infos) {
        if (std::unique_ptr<TMxMessageDecoder> decoder = info->StartsPart(AMsg, ALine))
            return decoder;
    }
    return nullptr;
}

} // namespace mail
