// ScriptedDatagramApi: a UDP socket whose arrivals are scripted, one script per socket opened,
// on a clock that only moves when the client waits.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/datagram_api.h"
#include "tests/fakes/call_log.h"

// One step of a script: a datagram that arrives at once, or silence for the whole wait.
struct Arrival {
  bool silence = false;
  uint32_t address = 0;
  uint16_t port = 0;
  std::string bytes;
  bool refused = false;  // the host answers Port Unreachable
};

// 192.0.2.1 answering from port 2001 unless a test says otherwise.
constexpr uint32_t kScriptedServer = 0xC0000201;
constexpr uint16_t kScriptedTransferPort = 2001;

Arrival DataArrival(uint16_t block, const std::string& bytes, uint16_t port = kScriptedTransferPort,
                    uint32_t address = kScriptedServer);
Arrival AckArrival(uint16_t block, uint16_t port = kScriptedTransferPort);
Arrival ErrorArrival(uint16_t code, const std::string& message,
                     uint16_t port = kScriptedTransferPort);
Arrival RawArrival(const std::string& bytes);
Arrival Silence();
Arrival PortUnreachable();

// Log entries: "Open()", "SendTo(<port> <packet>)", "Close()"; a packet reads "RRQ mac.ini octet",
// "WRQ name octet", "ACK 7" or "DATA 2 (512 bytes)" (anything else as hex). Hosts resolve when they are dotted numbers.
class ScriptedDatagramApi : public DatagramApi {
 public:
  explicit ScriptedDatagramApi(CallLog& log) : log_(log) {}

  bool Open() override;
  bool Resolve(const std::string& host, uint32_t* address) override;
  bool SendTo(uint32_t address, uint16_t port, const std::string& bytes) override;
  ReceiveStatus Receive(uint32_t timeoutMs, Datagram* datagram) override;
  void Close() override;
  uint32_t Milliseconds() override { return now; }

  // Taken one per Open, in order; a socket without a script (or past its end) hears nothing.
  std::deque<std::deque<Arrival>> scripts;
  bool opens = true;
  uint32_t now = 0xFFFF0000;  // near the wrap of GetTickCount, so elapsed times must wrap too

  std::vector<std::string> sends;  // "<port> <packet>" of every SendTo, in order
  std::vector<uint32_t> sendAddresses;
  std::vector<std::string> packets;  // the bytes of every SendTo, in order
  int openSockets = 0;

 private:
  CallLog& log_;
  std::deque<Arrival> current_;
};
