// List generation: computer names and IP addresses for every row.
#pragma once

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
bool GenerateList(ListModel& model, const GenerationFields& fields);
