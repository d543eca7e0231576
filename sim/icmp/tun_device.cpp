#include "sim/icmp/tun_device.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/if.h>
#include <linux/if_tun.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>

#include "support/handle_posix.h"

int OpenTunDevice(const std::string& name, std::string& error) {
  if (name.empty() || name.size() >= IFNAMSIZ) {
    error = "bad device name";
    return -1;
  }
  Descriptor fd(open("/dev/net/tun", O_RDWR | O_CLOEXEC));
  if (!fd.valid()) {
    error = std::string("/dev/net/tun: ") + std::strerror(errno);
    return -1;
  }
  ifreq request{};
  request.ifr_flags = IFF_TUN | IFF_NO_PI;
  std::memcpy(request.ifr_name, name.c_str(), name.size());
  if (ioctl(fd.get(), TUNSETIFF, &request) != 0) {
    error = name + ": " + std::strerror(errno);
    return -1;
  }
  return fd.release();
}
