// ICMP echo test responder for the network tests. It answers echo requests sent to 127.0.0.0/8
// addresses by a script, one line per address:
//
//   127.0.0.2  40            every request answered after 40 ms
//   127.0.0.3  40 drop 44    per request, cycled: 40 ms, no answer, 44 ms
//   127.0.0.5  unreach       a "destination host unreachable" error instead of a reply
//   127.0.0.8  drop tcp 30   no echo reply; a connection to port 6112 accepted after 30 ms
//   127.0.0.9  drop tcp drop no echo reply, and no answer to a connection either
//
// Addresses without a line get no answer. It only runs inside a private network namespace that
// holds nothing but loopback and where the kernel's own echo replies are off
// (net.ipv4.icmp_echo_ignore_all=1), and it stops by itself after --max-seconds.
//
// A connection is accepted by a SYN-ACK built here, after the delay, in answer to the SYN to port
// 6112 (read from a raw socket; nothing listens there). The kernel's own answer to that SYN, a
// reset, must be dropped for the addresses with "tcp" (tools/netns-run does it with nftables).
//
// Usage: icmp_responder --script FILE [--ready FILE] [--max-seconds N] [--verbose]

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <time.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Action {
  enum Kind { kDelay, kDrop, kUnreach } kind = kDrop;
  int delayMs = 0;
};

struct Script {
  std::vector<Action> actions;
  std::size_t next = 0;
  Action tcp;  // the answer to a connection to kGamePort: a delay, or none (kDrop)
};

constexpr uint16_t kGamePort = 6112;

struct Pending {
  Clock::time_point due;
  std::vector<uint8_t> packet;  // complete IP datagram
  in_addr_t to;                 // network order
};

bool verbose = false;

int Fail(const std::string& why) {
  std::fprintf(stderr, "icmp_responder: %s\n", why.c_str());
  return 2;
}

bool IsLoopback(in_addr_t addrNetworkOrder) { return (ntohl(addrNetworkOrder) >> 24) == 127; }

bool ParseScript(const std::string& path, std::map<in_addr_t, Script>& scripts, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read script " + path;
    return false;
  }
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string addrText;
    if (!(words >> addrText)) continue;
    in_addr addr{};
    if (inet_pton(AF_INET, addrText.c_str(), &addr) != 1 || !IsLoopback(addr.s_addr)) {
      error = path + ":" + std::to_string(lineNo) + ": not a 127.0.0.0/8 address: " + addrText;
      return false;
    }
    Script script;
    bool tcp = false;
    for (std::string word; words >> word;) {
      Action a;
      if (word == "tcp" && !tcp) {
        tcp = true;
        continue;
      }
      if (word == "drop") {
        a.kind = Action::kDrop;
      } else if (word == "unreach") {
        a.kind = Action::kUnreach;
      } else {
        char* end = nullptr;
        const long ms = std::strtol(word.c_str(), &end, 10);
        if (end == word.c_str() || *end != '\0' || ms < 0 || ms > 60000) {
          error = path + ":" + std::to_string(lineNo) + ": bad action: " + word;
          return false;
        }
        a.kind = Action::kDelay;
        a.delayMs = static_cast<int>(ms);
      }
      if (tcp && a.kind == Action::kUnreach) {
        error = path + ":" + std::to_string(lineNo) + ": a connection is answered or not: " + word;
        return false;
      }
      if (tcp) {
        script.tcp = a;
      } else {
        script.actions.push_back(a);
      }
    }
    if (script.actions.empty()) {
      error = path + ":" + std::to_string(lineNo) + ": no actions for " + addrText;
      return false;
    }
    scripts[addr.s_addr] = script;
  }
  return true;
}

// Refuses to run where a reply could leave the machine or race the kernel's own.
bool SafeNamespace(std::string& error) {
  struct if_nameindex* names = if_nameindex();
  if (names == nullptr) {
    error = "cannot list network interfaces";
    return false;
  }
  bool onlyLoopback = true;
  for (struct if_nameindex* n = names; n->if_index != 0; ++n) {
    if (std::strcmp(n->if_name, "lo") != 0) {
      error = std::string("interface ") + n->if_name + " present: run inside a private namespace";
      onlyLoopback = false;
      break;
    }
  }
  if_freenameindex(names);
  if (!onlyLoopback) return false;

  std::ifstream ignore("/proc/sys/net/ipv4/icmp_echo_ignore_all");
  int value = 0;
  if (!(ignore >> value) || value != 1) {
    error = "net.ipv4.icmp_echo_ignore_all is not 1";
    return false;
  }
  return true;
}

uint16_t Checksum(const uint8_t* data, std::size_t size) {
  uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) sum += static_cast<uint32_t>(data[i] << 8 | data[i + 1]);
  if (size % 2 != 0) sum += static_cast<uint32_t>(data[size - 1] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint16_t>(~sum);
}

void PutChecksum(std::vector<uint8_t>& bytes, std::size_t at, uint16_t sum) {
  bytes[at] = static_cast<uint8_t>(sum >> 8);
  bytes[at + 1] = static_cast<uint8_t>(sum);
}

// An IPv4 datagram from `from` to `to` carrying `payload` of `protocol`. The kernel fills in the
// IP checksum and identification.
std::vector<uint8_t> Datagram(in_addr_t from, in_addr_t to, uint8_t protocol,
                              const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> packet(20, 0);
  const auto total = static_cast<uint16_t>(20 + payload.size());
  packet[0] = 0x45;
  packet[2] = static_cast<uint8_t>(total >> 8);
  packet[3] = static_cast<uint8_t>(total);
  packet[8] = 64;  // TTL
  packet[9] = protocol;
  std::memcpy(&packet[12], &from, 4);
  std::memcpy(&packet[16], &to, 4);
  packet.insert(packet.end(), payload.begin(), payload.end());
  return packet;
}

// An ICMP message, its checksum filled in here.
std::vector<uint8_t> IcmpDatagram(in_addr_t from, in_addr_t to, std::vector<uint8_t> icmp) {
  icmp[2] = icmp[3] = 0;
  PutChecksum(icmp, 2, Checksum(icmp.data(), icmp.size()));
  return Datagram(from, to, IPPROTO_ICMP, icmp);
}

// The SYN-ACK that accepts the connection whose SYN is `syn` (its TCP header), from `from`:
// `from` and the client swap places, the client's sequence number + 1 is acknowledged.
std::vector<uint8_t> SynAck(in_addr_t from, in_addr_t to, const uint8_t* syn) {
  std::vector<uint8_t> tcp(20, 0);
  std::memcpy(&tcp[0], syn + 2, 2);  // our port is the one the SYN went to
  std::memcpy(&tcp[2], syn, 2);
  const uint32_t ack = (uint32_t{syn[4]} << 24 | uint32_t{syn[5]} << 16 | uint32_t{syn[6]} << 8 |
                        syn[7]) + 1;
  tcp[4] = 0x47;  // our sequence number: any will do
  for (int i = 0; i < 4; ++i) tcp[8 + i] = static_cast<uint8_t>(ack >> (24 - 8 * i));
  tcp[12] = 5 << 4;  // a header of 5 words, no options
  tcp[13] = 0x12;    // SYN, ACK
  tcp[14] = tcp[15] = 0xFF;  // window
  // The checksum covers a pseudo-header of the addresses, the protocol and the length.
  std::vector<uint8_t> sum(12, 0);
  std::memcpy(&sum[0], &from, 4);
  std::memcpy(&sum[4], &to, 4);
  sum[9] = IPPROTO_TCP;
  sum[11] = static_cast<uint8_t>(tcp.size());
  sum.insert(sum.end(), tcp.begin(), tcp.end());
  PutChecksum(tcp, 16, Checksum(sum.data(), sum.size()));
  return Datagram(from, to, IPPROTO_TCP, tcp);
}

std::string AddrText(in_addr_t a) {
  char buf[INET_ADDRSTRLEN] = {};
  in_addr in{};
  in.s_addr = a;
  inet_ntop(AF_INET, &in, buf, sizeof buf);
  return buf;
}

}  // namespace

int main(int argc, char** argv) {
  std::string scriptPath, readyPath;
  int maxSeconds = 600;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--script" && i + 1 < argc) {
      scriptPath = argv[++i];
    } else if (arg == "--ready" && i + 1 < argc) {
      readyPath = argv[++i];
    } else if (arg == "--max-seconds" && i + 1 < argc) {
      maxSeconds = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--verbose") {
      verbose = true;
    } else {
      return Fail("usage: icmp_responder --script FILE [--ready FILE] [--max-seconds N] [--verbose]");
    }
  }
  if (scriptPath.empty()) return Fail("--script FILE is required");

  std::string error;
  if (!SafeNamespace(error)) return Fail("refusing to start: " + error);
  std::map<in_addr_t, Script> scripts;
  if (!ParseScript(scriptPath, scripts, error)) return Fail(error);

  const int in = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
  const int tcpIn = socket(AF_INET, SOCK_RAW, IPPROTO_TCP);  // a copy of every TCP segment
  const int out = socket(AF_INET, SOCK_RAW, IPPROTO_RAW);  // we write the IP header ourselves
  if (in < 0 || tcpIn < 0 || out < 0) return Fail(std::string("raw socket: ") + std::strerror(errno));

  if (!readyPath.empty()) {
    std::ofstream(readyPath) << getpid() << "\n";
  }

  const auto deadline = Clock::now() + std::chrono::seconds(maxSeconds);
  std::vector<Pending> pending;
  uint8_t buf[65536];

  auto send = [&](const Pending& p) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = p.to;
    if (sendto(out, p.packet.data(), p.packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) {
      std::fprintf(stderr, "icmp_responder: sendto: %s\n", std::strerror(errno));
    }
  };

  while (true) {
    auto now = Clock::now();
    if (now >= deadline) {
      if (verbose) std::fprintf(stderr, "icmp_responder: time is up\n");
      return 0;
    }
    // Send what is due, earliest first.
    std::sort(pending.begin(), pending.end(), [](const Pending& a, const Pending& b) { return a.due < b.due; });
    std::size_t sent = 0;
    while (sent < pending.size() && pending[sent].due <= now) send(pending[sent++]);
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(sent));

    auto wakeAt = deadline;
    if (!pending.empty()) wakeAt = std::min(wakeAt, pending.front().due);
    const auto waitNs = std::chrono::duration_cast<std::chrono::nanoseconds>(wakeAt - now).count();
    pollfd pfds[] = {{in, POLLIN, 0}, {tcpIn, POLLIN, 0}};
    const timespec wait{static_cast<time_t>(waitNs / 1000000000), static_cast<long>(waitNs % 1000000000)};
    const int r = ppoll(pfds, 2, &wait, nullptr);
    if (r < 0 && errno != EINTR) return Fail(std::string("poll: ") + std::strerror(errno));
    if (r <= 0) continue;
    const bool isTcp = (pfds[0].revents & POLLIN) == 0;

    const ssize_t got = recv(isTcp ? tcpIn : in, buf, sizeof buf, 0);
    const auto received = Clock::now();
    if (got < 20) continue;
    const std::size_t ihl = static_cast<std::size_t>(buf[0] & 0x0F) * 4;
    if ((buf[0] >> 4) != 4 || ihl < 20 || static_cast<std::size_t>(got) < ihl + (isTcp ? 20 : 8)) continue;
    in_addr_t src = 0, dst = 0;
    std::memcpy(&src, buf + 12, 4);
    std::memcpy(&dst, buf + 16, 4);
    if (!IsLoopback(dst) || !IsLoopback(src)) continue;
    auto it = scripts.find(dst);

    if (isTcp) {
      // A SYN alone (not our SYN-ACKs, not the client's later segments) to the game port.
      const uint8_t* tcp = buf + ihl;
      const bool syn = (tcp[13] & 0x12) == 0x02;
      if (!syn || (tcp[2] << 8 | tcp[3]) != kGamePort || it == scripts.end()) continue;
      const Action action = it->second.tcp;
      if (verbose) {
        std::fprintf(stderr, "icmp_responder: %s SYN: %s\n", AddrText(dst).c_str(),
                     action.kind == Action::kDelay ? "accepted" : "no answer");
      }
      if (action.kind == Action::kDelay) {
        pending.push_back({received + std::chrono::milliseconds(action.delayMs), SynAck(dst, src, tcp), src});
      }
      continue;
    }

    const uint8_t* icmp = buf + ihl;
    if (icmp[0] != 8 || icmp[1] != 0) continue;  // echo requests only (we see our replies too)
    const uint16_t seq = static_cast<uint16_t>(icmp[6] << 8 | icmp[7]);
    if (it == scripts.end()) {
      if (verbose) std::fprintf(stderr, "icmp_responder: %s seq %u: no script, silent\n", AddrText(dst).c_str(), seq);
      continue;
    }
    Script& script = it->second;
    const Action action = script.actions[script.next];
    script.next = (script.next + 1) % script.actions.size();

    if (action.kind == Action::kDrop) {
      if (verbose) std::fprintf(stderr, "icmp_responder: %s seq %u: drop\n", AddrText(dst).c_str(), seq);
      continue;
    }
    if (action.kind == Action::kUnreach) {
      // Type 3 code 1, then the offending datagram's IP header and the first 8 bytes after it.
      std::vector<uint8_t> err = {3, 1, 0, 0, 0, 0, 0, 0};
      err.insert(err.end(), buf, buf + ihl + 8);
      pending.push_back({received, IcmpDatagram(dst, src, std::move(err)), src});
      if (verbose) std::fprintf(stderr, "icmp_responder: %s seq %u: unreachable\n", AddrText(dst).c_str(), seq);
      continue;
    }
    std::vector<uint8_t> reply(icmp, static_cast<const uint8_t*>(buf) + got);
    reply[0] = 0;  // echo reply; identifier, sequence and data stay as they came
    pending.push_back({received + std::chrono::milliseconds(action.delayMs), IcmpDatagram(dst, src, std::move(reply)), src});
    if (verbose) {
      std::fprintf(stderr, "icmp_responder: %s seq %u: reply in %d ms\n", AddrText(dst).c_str(), seq, action.delayMs);
    }
  }
}
