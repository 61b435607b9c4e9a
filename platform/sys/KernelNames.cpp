#include "platform/sys/KernelNames.h"

#include "platform/rtl/Exceptions.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sys/mman.h>
#include <unistd.h>

namespace {

std::mutex NamespaceLock;
std::optional<AnsiString> ChosenNamespace;

// Letters, digits, '_' and '.' stand as they are; every other byte becomes
// %XX, so that no name can reach into another namespace or hold a '/'.
AnsiString Escape(const AnsiString& Text) {
    AnsiString out;
    for (unsigned char c : Text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '_' || c == '.') {
            out += static_cast<char>(c);
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return out;
}

AnsiString Prefix(const AnsiString& Namespace) {
    AnsiString prefix = "beaconmill-" + std::to_string(geteuid()) + "-";
    if (!Namespace.empty()) prefix += Escape(Namespace) + "-";
    return prefix;
}

} // namespace

AnsiString KernelNamespace() {
    std::lock_guard guard(NamespaceLock);
    if (ChosenNamespace) return *ChosenNamespace;
    const char* env = std::getenv("BEACONMILL_KERNEL_NAMESPACE");
    return env ? AnsiString(env) : AnsiString();
}

AnsiString UniqueKernelNamespace(const AnsiString& Prefix) {
    static std::atomic<int> Serial{0};
    return Prefix + std::to_string(getpid()) + "_" + std::to_string(++Serial);
}

void SetKernelNamespace(const AnsiString& Namespace) {
    std::lock_guard guard(NamespaceLock);
    ChosenNamespace = Namespace;
}

AnsiString KernelObjectName(const AnsiString& Name) {
    AnsiString result = "/" + Prefix(KernelNamespace()) + Escape(Name);
    if (result.size() > NAME_MAX) throw EOSError("Kernel object name is too long: " + Name);
    return result;
}

AnsiString KernelObjectPath(const AnsiString& Name) {
    return "/dev/shm" + KernelObjectName(Name);
}

int RemoveKernelNamespace(const AnsiString& Namespace) {
    // The objects outside any namespace belong to the running programs.
    if (Namespace.empty()) return 0;
    const AnsiString prefix = Prefix(Namespace);
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", ec)) {
        const AnsiString name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0 && shm_unlink(("/" + name).c_str()) == 0)
            ++removed;
    }
    return removed;
}
