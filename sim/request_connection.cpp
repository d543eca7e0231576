#include "sim/request_connection.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <string>

namespace {

bool SameAddress(const sockaddr_in& address, const std::string& host, int port) {
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &address.sin_addr, text, sizeof(text));
  return ntohs(address.sin_port) == port && host == text;
}

bool IsRequestSocket(int fd, const httplib::Request& request) {
  sockaddr_in local{};
  sockaddr_in remote{};
  socklen_t size = sizeof(local);
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) != 0 ||
      local.sin_family != AF_INET)
    return false;
  size = sizeof(remote);
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&remote), &size) != 0) return false;
  return SameAddress(local, request.local_addr, request.local_port) &&
         SameAddress(remote, request.remote_addr, request.remote_port);
}

}  // namespace

bool ShutDownRequestConnection(const httplib::Request& request) {
  DIR* folder = opendir("/proc/self/fd");
  if (folder == nullptr) return false;
  bool found = false;
  while (dirent* entry = readdir(folder)) {
    char* end = nullptr;
    const long fd = std::strtol(entry->d_name, &end, 10);
    if (*end != '\0' || end == entry->d_name || fd == dirfd(folder)) continue;
    if (IsRequestSocket(static_cast<int>(fd), request)) {
      shutdown(static_cast<int>(fd), SHUT_RDWR);
      found = true;
      break;
    }
  }
  closedir(folder);
  return found;
}
