// ScriptedDatagramApi: arrivals come off the current script; silence advances the clock.
#include "tests/fakes/scripted_datagram_api.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/fakes/byte_text.h"

namespace {

std::string Number(uint16_t value) {
  return std::string{static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

uint16_t NumberAt(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>((static_cast<unsigned char>(bytes[offset]) << 8) |
                               static_cast<unsigned char>(bytes[offset + 1]));
}

std::string Shown(const std::string& packet) {
  if (packet.size() == 4 && NumberAt(packet, 0) == 4) {
    return "ACK " + std::to_string(NumberAt(packet, 2));
  }
  if (packet.size() >= 4 && NumberAt(packet, 0) == 3) {
    return "DATA " + std::to_string(NumberAt(packet, 2)) + " (" +
           std::to_string(packet.size() - 4) + " bytes)";
  }
  const uint16_t op = packet.size() > 2 ? NumberAt(packet, 0) : 0;
  if ((op == 1 || op == 2) && packet.back() == '\0') {
    std::string text = (op == 1 ? "RRQ " : "WRQ ") + packet.substr(2, packet.size() - 3);
    for (char& c : text) {
      if (c == '\0') c = ' ';
    }
    return text;
  }
  return HexBytes(packet);
}

}  // namespace

Arrival DataArrival(uint16_t block, const std::string& bytes, uint16_t port, uint32_t address) {
  return Arrival{false, address, port, Number(3) + Number(block) + bytes};
}

Arrival AckArrival(uint16_t block, uint16_t port) {
  return Arrival{false, kScriptedServer, port, Number(4) + Number(block)};
}

Arrival ErrorArrival(uint16_t code, const std::string& message, uint16_t port) {
  return Arrival{false, kScriptedServer, port, Number(5) + Number(code) + message + '\0'};
}

Arrival RawArrival(const std::string& bytes) {
  return Arrival{false, kScriptedServer, kScriptedTransferPort, bytes};
}

Arrival Silence() { return Arrival{true, 0, 0, ""}; }
Arrival PortUnreachable() { return Arrival{false, kScriptedServer, 69, "", true}; }

bool ScriptedDatagramApi::Open() {
  log_.Add("Open()");
  if (!opens) return false;
  if (openSockets != 0) ADD_FAILURE() << "a second socket opened before the first was closed";
  ++openSockets;
  current_.clear();
  if (!scripts.empty()) {
    current_ = scripts.front();
    scripts.pop_front();
  }
  return true;
}

bool ScriptedDatagramApi::Resolve(const std::string& host, uint32_t* address) {
  unsigned a, b, c, d;
  char rest;
  if (std::sscanf(host.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &rest) != 4) return false;
  *address = (a << 24) | (b << 16) | (c << 8) | d;
  return true;
}

bool ScriptedDatagramApi::SendTo(uint32_t address, uint16_t port, const std::string& bytes) {
  if (openSockets == 0) ADD_FAILURE() << "SendTo on a closed socket";
  const std::string entry = std::to_string(port) + " " + Shown(bytes);
  log_.Add("SendTo(" + entry + ")");
  sends.push_back(entry);
  packets.push_back(bytes);
  sendAddresses.push_back(address);
  return true;
}

ReceiveStatus ScriptedDatagramApi::Receive(uint32_t timeoutMs, Datagram* datagram) {
  if (openSockets == 0) ADD_FAILURE() << "Receive on a closed socket";
  if (timeoutMs == 0) ADD_FAILURE() << "Receive with no time to wait";
  if (sends.size() > 10000) {
    ADD_FAILURE() << "the client goes on sending";
    return ReceiveStatus::kFailed;
  }
  if (current_.empty() || current_.front().silence) {
    if (!current_.empty()) current_.pop_front();
    now += timeoutMs;
    return ReceiveStatus::kNothing;
  }
  const Arrival arrival = current_.front();
  current_.pop_front();
  now += 1;
  if (arrival.refused) return ReceiveStatus::kRefused;
  datagram->address = arrival.address;
  datagram->port = arrival.port;
  datagram->bytes = arrival.bytes;
  return ReceiveStatus::kReceived;
}

void ScriptedDatagramApi::Close() {
  log_.Add("Close()");
  if (openSockets == 0) ADD_FAILURE() << "Close without an open socket";
  openSockets = 0;
}
