#include "platform/sys/FileMapping.h"

#include "platform/rtl/Exceptions.h"
#include "platform/sys/KernelNames.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void RaiseOS(const AnsiString& What, const AnsiString& Name, int Error) {
    throw EOSError(What + " '" + Name + "': " + std::strerror(Error));
}

// Only a mapping of this user that no one else may touch is used.
void CheckPrivate(int Fd, const AnsiString& Name) {
    struct stat st {};
    if (fstat(Fd, &st) != 0 || st.st_uid != geteuid() || (st.st_mode & 077) != 0) {
        close(Fd);
        throw EOSError("File mapping '" + Name + "' is not private to this user");
    }
}

} // namespace

TFileMapping::TFileMapping(AnsiString Name, int Fd) : FName(std::move(Name)), FFd(Fd) {}

TFileMapping::~TFileMapping() {
    if (FData) munmap(FData, FSize);
    if (FFd >= 0) close(FFd);
}

std::unique_ptr<TFileMapping> TFileMapping::OpenOrCreate(const AnsiString& Name,
                                                         std::size_t MinSize) {
    const AnsiString path = KernelObjectName(Name);
    const int fd = shm_open(path.c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0) RaiseOS("Cannot open file mapping", Name, errno);
    CheckPrivate(fd, Name);
    std::unique_ptr<TFileMapping> mapping(new TFileMapping(Name, fd));
    mapping->Grow(MinSize);
    return mapping;
}

std::unique_ptr<TFileMapping> TFileMapping::Open(const AnsiString& Name) {
    const int fd = shm_open(KernelObjectName(Name).c_str(), O_RDWR, 0);
    if (fd < 0) {
        if (errno == ENOENT) return nullptr;
        RaiseOS("Cannot open file mapping", Name, errno);
    }
    CheckPrivate(fd, Name);
    std::unique_ptr<TFileMapping> mapping(new TFileMapping(Name, fd));
    mapping->Map();
    return mapping;
}

void TFileMapping::Grow(std::size_t MinSize) {
    struct stat st {};
    if (fstat(FFd, &st) != 0) RaiseOS("Cannot read the size of file mapping", FName, errno);
    if (static_cast<std::size_t>(st.st_size) < MinSize &&
        ftruncate(FFd, static_cast<off_t>(MinSize)) != 0)
        RaiseOS("Cannot enlarge file mapping", FName, errno);
    Map();
}

void TFileMapping::Map() {
    struct stat st {};
    if (fstat(FFd, &st) != 0) RaiseOS("Cannot read the size of file mapping", FName, errno);
    if (FData) {
        munmap(FData, FSize);
        FData = nullptr;
        FSize = 0;
    }
    if (st.st_size == 0) return;
    void* map = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ | PROT_WRITE,
                     MAP_SHARED, FFd, 0);
    if (map == MAP_FAILED) RaiseOS("Cannot map file mapping", FName, errno);
    FData = static_cast<std::uint8_t*>(map);
    FSize = static_cast<std::size_t>(st.st_size);
}
