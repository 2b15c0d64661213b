#include "platform/arp_cache.h"

#include <arpa/inet.h>
#include <cstring>
#include <ifaddrs.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mv {

void deleteArpEntry(std::uint32_t ipv4) {
    const int sock = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (sock < 0) {
        return;
    }
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) == 0) {
        for (ifaddrs* it = list; it; it = it->ifa_next) {
            if (!it->ifa_addr || it->ifa_addr->sa_family != AF_INET || !it->ifa_name) {
                continue;
            }
            arpreq request;
            std::memset(&request, 0, sizeof request);
            sockaddr_in target{};
            target.sin_family = AF_INET;
            target.sin_addr.s_addr = htonl(ipv4);
            std::memcpy(&request.arp_pa, &target, sizeof target);
            std::strncpy(request.arp_dev, it->ifa_name, sizeof request.arp_dev - 1);
            // Without the right (or without an entry) the call fails; that is not looked at.
            (void)::ioctl(sock, SIOCDARP, &request);
        }
        ::freeifaddrs(list);
    }
    ::close(sock);
}

} // namespace mv
