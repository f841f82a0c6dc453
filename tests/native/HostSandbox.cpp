#include "Sandbox.h"

#include "platform/host/HostPlatform.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
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
