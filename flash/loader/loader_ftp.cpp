#include "flash/loader/loader_ftp.h"

#include "flash/loader/console_out.h"
#include "panel/ftp/ftp_client.h"

#include <sys/socket.h>

namespace flash {

namespace {

// Prints the client's failing steps and uploads the loader's way.
class CConsoleObserver final : public ftp::ClientObserver {
public:
    void StepFailed(ftp::Step step, int) override {
        switch (step) {
        case ftp::Step::Socket:
            ConsolePrintf("Error socket\n");
            break;
        case ftp::Step::Bind:
            ConsolePrintf("Error bind\n");
            break;
        case ftp::Step::SetSockOpt:
            ConsolePrintf("Error setsockopt\n");
            break;
        case ftp::Step::GetSockName:
            ConsolePrintf("Error getsockname\n");
            break;
        case ftp::Step::Listen:
            ConsolePrintf("Error listen\n");
            break;
        case ftp::Step::Accept:
            ConsolePrintf("Error accept\n");
            break;
        case ftp::Step::FileOpen:
            ConsolePrintf("Error file open\n");
            break;
        }
    }
    void StoreStarted(std::string_view, std::string_view remoteName) override {
        const std::string name(remoteName);
        ConsolePrintf("Sending file %s \n", name.c_str());
    }
};

class CLoaderFtp final : public ILoaderFtp {
public:
    CLoaderFtp() { m_Client.SetObserver(&m_Observer); }

    bool IsOpen() const override { return m_Client.IsConnected(); }
    void Quit() override { m_Client.Quit(); }
    void CloseSocket() override {
        if (m_Client.IsConnected()) {
            // With the socket shut down the QUIT cannot leave; the client then closes it.
            ::shutdown(m_Client.ControlSocket(), SHUT_RDWR);
            m_Client.Quit();
        }
    }
    bool Connect(const std::string& host, int port, const std::string& user,
                 const std::string& password) override {
        if (m_Client.IsConnected()) {
            m_Client.Quit();
        }
        return m_Client.Connect(host, user, password, port);
    }
    bool Put(const std::string& localPath, const std::string& remoteName) override {
        return m_Client.PutFile(localPath, remoteName);
    }
    bool Delete(const std::string& name) override { return m_Client.DeleteFile(name); }
    bool List(std::vector<LoaderFtpEntry>& entries) override {
        entries.clear();
        m_Client.ClearEntries();
        if (!m_Client.List()) {
            return false;
        }
        for (int i = 0; i < m_Client.GetEntryCount(); ++i) {
            ftp::FtpDirEntry entry;
            if (m_Client.GetEntry(i, entry)) {
                entries.push_back({entry.attributes, entry.size, entry.name});
            }
        }
        return true;
    }

private:
    CConsoleObserver m_Observer;
    ftp::CFtpClient m_Client;
};

} // namespace

std::unique_ptr<ILoaderFtp> MakeLoaderFtp() {
    return std::make_unique<CLoaderFtp>();
}

} // namespace flash
