#include "Sandbox.h"

#include "platform/host/HostPlatform.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel::test {

namespace {

class HostSandbox : public Sandbox {
public:
    HostSandbox() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-test-XXXXXX");
        if (!::mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        hostRoot_ = pattern;
        platform_ = std::make_unique<HostPlatform>(hostRoot_);
        std::filesystem::create_directories(hostRoot_ / "C" / "sandbox");
    }
    ~HostSandbox() override {
        std::error_code ignored;
        std::filesystem::remove_all(hostRoot_, ignored);
    }

    Platform& platform() override { return *platform_; }
    const std::string& root() const override { return root_; }
    bool makeDirectoryLink(const std::string& linkPath, const std::string& target) override {
        std::error_code error;
        std::filesystem::create_directory_symlink(platform_->hostPath(target),
                                                  platform_->hostPath(linkPath), error);
        return !error;
    }
    std::shared_ptr<void> makeUnreadable(const std::string& path) override {
        if (::geteuid() == 0) {
            return nullptr;
        }
        const std::filesystem::path file = platform_->hostPath(path);
        std::error_code error;
        const auto before = std::filesystem::status(file, error).permissions();
        if (error) {
            return nullptr;
        }
        std::filesystem::permissions(file, std::filesystem::perms::none, error);
        if (error) {
            return nullptr;
        }
        // Gives the permissions back when the last copy of the token goes.
        struct Restore {
            std::filesystem::path file;
            std::filesystem::perms permissions;
            ~Restore() {
                std::error_code ignored;
                std::filesystem::permissions(file, permissions, ignored);
            }
        };
        return std::shared_ptr<Restore>(new Restore{file, before});
    }

    std::vector<std::string> devicePaths() override {
        const std::string zero = root_ + "\\zero.theme";
        const std::string pipe = root_ + "\\pipe.quorvel";
        std::error_code error;
        std::filesystem::create_symlink("/dev/zero", platform_->hostPath(zero), error);
        if (error || ::mkfifo(platform_->hostPath(pipe).c_str(), 0600) != 0) {
            throw std::runtime_error("cannot make a device link or a pipe");
        }
        return {zero, pipe};
    }

private:
    std::filesystem::path hostRoot_;
    std::unique_ptr<HostPlatform> platform_;
    std::string root_ = "C:\\sandbox";
};

} // namespace

std::unique_ptr<Sandbox> makeSandbox() {
    return std::make_unique<HostSandbox>();
}

} // namespace quorvel::test
