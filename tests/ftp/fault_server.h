// A scripted FTP server for faulty replies: it sends a greeting, then for each scripted step
// reads one command line, sends the step's reply bytes exactly as given and, when asked, opens
// the data connection to the address of the last PORT command (optionally from another local
// address), sends or takes data, stays silent or drops the connection. Commands after the
// script get "500 unscripted", QUIT gets "221 Bye". A client that reconnects gets the
// script's next steps.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ftptest {

struct FaultStep {
    enum class Data {
        None,
        Send,    // connect back, send `data`, close
        Receive, // connect back, read until the client closes
        Silent,  // connect back, send nothing and hold the connection until the client closes
        Drop,    // connect back, send `data`, then close data and control connection at once
    };
    std::string reply;           // sent after the command was read (empty: no reply)
    Data data = Data::None;
    std::string bytes;           // data of Send and Drop
    std::string source;          // local address the data connection comes from (empty: any)
    std::string finalReply;      // sent after the data connection closed
    bool silentAfter = false;    // after this step read commands but never answer
};

class FaultServer {
public:
    // An empty greeting is silence at the greeting.
    FaultServer(std::string greeting, std::vector<FaultStep> steps);
    ~FaultServer();
    FaultServer(const FaultServer&) = delete;
    FaultServer& operator=(const FaultServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // The command lines received so far (without CR LF).
    std::vector<std::string> Commands() const;
    // The bytes received over data connections.
    std::string Received() const;
    // Number of control connections accepted.
    int Connections() const { return connections_; }

private:
    void Run();
    void Serve(int control);
    bool ReadCommand(int fd, std::string& line);
    void SendText(int fd, const std::string& text);
    int ConnectBack(const std::string& source);
    bool Wait(int fd, short events);

    std::string greeting_;
    std::vector<FaultStep> steps_;
    int listen_ = -1;
    int stop_[2] = {-1, -1};
    std::uint16_t port_ = 0;
    std::string portHost_;
    int portPort_ = 0;
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    std::string received_;
    std::string pending_;
    std::size_t next_ = 0; // the script goes on over reconnections
    std::thread thread_;
};

} // namespace ftptest
