// The change summary: what Tolvik is about to change, one CR LF-ended line per setting.
#include "client/summary.h"

#include <vector>

#include "client/client_texts.h"
#include "common/text_rules.h"
#include "client/client_window_api.h"

namespace {

std::vector<std::string> SummaryLines(const ClientState& state) {
  namespace t = client_texts;
  std::vector<std::string> lines;
  lines.push_back(t::kSummaryComputerName + state.ComputerName);
  if (!state.List.WorkGroup.empty()) {
    lines.push_back(t::kSummaryWorkgroup + state.List.WorkGroup);
    lines.push_back(std::string());  // the workgroup line is followed by an empty line
  } else if (!state.List.Domain.empty()) {
    lines.push_back(t::kSummaryDomain + state.List.Domain);
    // A PC with a one-time password joins its own account: the list's account is not used.
    if (state.JoinPassword.empty()) {
      if (!state.List.Username.empty()) lines.push_back(t::kSummaryUsername + state.List.Username);
      if (!state.List.password.empty()) lines.push_back(t::kSummaryPassword + state.List.password);
    }
  }
  lines.push_back(t::kSummaryConnectionOpen + state.TargetConnection + t::kSummaryConnectionClose);
  if (state.EntryIp == "DHCP") {
    lines.push_back(t::kSummaryIpDhcp);
  } else {
    lines.push_back(t::kSummaryIp + state.EntryIp);
    lines.push_back(t::kSummaryMask + state.List.Mask);
    if (!state.List.Gateway.empty()) {
      // The only comparison of the summary that ignores case: "none" deletes the gateway too.
      if (UpperAscii(state.List.Gateway) == "NONE") {
        lines.push_back(std::string(t::kSummaryGateway) + t::kSummaryGatewayDelete);
      } else {
        lines.push_back(t::kSummaryGateway + state.List.Gateway);
        if (state.List.Gwmetric == "0") {
          lines.push_back(t::kSummaryMetricAuto);
        } else {
          lines.push_back(t::kSummaryMetric + state.List.Gwmetric);
        }
      }
    }
  }
  if (state.List.DNS1 == "DHCP") {
    lines.push_back(t::kSummaryDnsDhcp);
  } else if (!state.List.DNS1.empty()) {
    lines.push_back(t::kSummaryDns1 + state.List.DNS1);
    if (!state.List.DNS2.empty()) lines.push_back(t::kSummaryDns2 + state.List.DNS2);
  }
  if (!state.MainCCSIP.empty()) {
    lines.push_back(t::kSummaryIcdPath + state.IcdPath);
    lines.push_back(t::kSummaryMainCcs + state.MainCCSIP);
    lines.push_back(t::kSummaryBackCcs + state.BackCCSIP);
    lines.push_back(t::kSummaryAppServer + state.AppServerIP);
  }
  for (std::string& line : lines) line += "\r\n";
  return lines;
}

}  // namespace

std::string SummaryText(const ClientState& state) {
  std::string text;
  for (const std::string& line : SummaryLines(state)) text += line;
  return text;
}

void BuildSummary(ClientWindowApi& window, const ClientState& state) {
  // The first line replaces whatever the information text held; the others are appended.
  // Nothing else writes the text meanwhile, so the text built so far is what the window holds.
  std::string text;
  for (const std::string& line : SummaryLines(state)) {
    text += line;
    window.SetInfoText(text);
  }
}
