// List generation: computer names and IP addresses for every row.
#pragma once

#include <cstddef>
#include <string>

#include "generator/list_model.h"

// The texts of Brevane's name and address fields as typed.
struct GenerationFields {
  std::string prefix = "COMPUTER";
  std::string suffix;
  std::string firstNumber = "1";
  std::string digits = "3";
  std::string ipStart = "192.168.0.1";
};

// Fills the IP and computer name cells of every row; true when "保存退出" is to be enabled.
// Numbers are the leading decimal digits of their fields (none reads as 0) and are counted on
// exactly however many digits they have; the last number of an address passes 255 without
// carrying. An empty IP start value gives "..." and the number, as the split rule reads it.
bool GenerateList(ListModel& model, const GenerationFields& fields);

// How many rows can take an address counted up from the IP start value before its last number
// would pass 255 (256 less that number, 0 when it is past 255 already); SIZE_MAX for "DHCP".
// Brevane and maclist refuse a generation of more rows than this.
size_t MachinesThatFit(const std::string& ipStart);
