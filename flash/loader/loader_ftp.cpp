#include "flash/loader/loader_ftp.h"

namespace flash {

namespace {

// The session before any connection was made: never open.
class CClosedFtp final : public ILoaderFtp {
public:
    bool IsOpen() const override { return false; }
    void Quit() override {}
};

} // namespace

std::unique_ptr<ILoaderFtp> MakeLoaderFtp() {
    return std::make_unique<CClosedFtp>();
}

} // namespace flash
