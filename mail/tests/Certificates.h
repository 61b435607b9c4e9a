#pragma once
// Certificates made once per test program with the openssl command: a
// private CA, a server certificate for "localhost" and 127.0.0.1, one for a
// name no test connects to, an unrelated key and the localhost key locked
// with a password. The folder is removed when the program ends.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace mailtest {

class Certificates {
public:
    static const Certificates& Get() {
        static const Certificates instance;
        return instance;
    }

    static constexpr const char* LockedKeyPassword = "s3cret pass";

    std::string Path(const std::string& AName) const { return (FFolder / AName).string(); }
    std::string CA() const { return Path("ca.crt"); }
    std::string LocalhostCert() const { return Path("localhost.crt"); }
    std::string LocalhostKey() const { return Path("localhost.key"); }
    std::string WrongNameCert() const { return Path("wrongname.crt"); }
    std::string WrongNameKey() const { return Path("wrongname.key"); }
    std::string OtherKey() const { return Path("other.key"); }
    std::string LockedKey() const { return Path("locked.key"); }

    ~Certificates() {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
    }

private:
    Certificates() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mxcertsXXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        FFolder = pattern;
        const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
        Run("openssl req -x509" + key + " -keyout ca.key -out ca.crt -days 2" +
            " -subj '/CN=Beaconmill Test CA'" + " -addext basicConstraints=critical,CA:TRUE" +
            " -addext keyUsage=critical,keyCertSign,cRLSign");
        Leaf("localhost", "subjectAltName=DNS:localhost,IP:127.0.0.1");
        Leaf("wrongname", "subjectAltName=DNS:mail.invalid");
        Run("openssl genpkey -algorithm ec -pkeyopt ec_paramgen_curve:prime256v1 -out other.key");
        Run(std::string("openssl pkey -in localhost.key -aes256 -passout 'pass:") +
            LockedKeyPassword + "' -out locked.key");
    }

    void Leaf(const std::string& AName, const std::string& AExtension) {
        std::ofstream(FFolder / (AName + ".ext")) << AExtension << "\n";
        Run("openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout " +
            AName + ".key -out " + AName + ".csr -subj '/CN=" + AName + "'");
        Run("openssl x509 -req -in " + AName + ".csr -CA ca.crt -CAkey ca.key -CAcreateserial" +
            " -days 2 -extfile " + AName + ".ext -out " + AName + ".crt");
    }

    void Run(const std::string& ACommand) {
        const std::string command =
            "cd '" + FFolder.string() + "' && " + ACommand + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("certificate step failed: " + ACommand);
    }

    std::filesystem::path FFolder;
};

} // namespace mailtest
