// Tests that need the fixed ports (21, 32000) or ICMP echo run in a user and network namespace
// of their own, what `unshare -rn` makes: the test program runs itself again, filtered to the
// one test, inside it. Nothing there reaches a real network; only its loopback exists, and it
// is down until the test brings it up.
#pragma once

#include <string>

namespace flashtest {

// True in the run of the test program inside its own namespace.
bool InOwnNetworkNamespace();

// Outside: runs the current test again inside a new namespace and checks that it passed, or
// skips it with the reason where namespaces are refused. Call it first and return after it:
//     if (!flashtest::InOwnNetworkNamespace()) { flashtest::RunCurrentTestInNamespace(); return; }
void RunCurrentTestInNamespace();

// Outside: why no namespace can be made here ("network namespace refused: ..."); empty when
// one can, so a test may run on free loopback ports instead and say so.
std::string NamespaceRefusal();

// Inside: brings the loopback interface up (127.0.0.1 appears with it) or down again.
bool SetLoopbackUp(bool up, std::string& error);
// Inside: writes a setting below /proc/sys ("net/ipv4/ping_group_range"). Only the
// namespace's root group is mapped, so a group range can name no other group: a new
// namespace starts with the range closed, and "0 0" opens it for the test.
bool WriteSysctl(const std::string& name, const std::string& value);
// Inside: drops (or takes back) the right to open raw sockets.
bool SetRawSocketRight(bool allowed);

} // namespace flashtest
