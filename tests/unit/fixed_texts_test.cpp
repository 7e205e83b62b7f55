// Every fixed text of both programs and of maclist's status page, byte for byte against the GBK bytes the user must see.
#include <gtest/gtest.h>

#include <string>

#include "client/client_texts.h"
#include "generator/generator_texts.h"
#include "tests/fakes/byte_text.h"
#include "tests/pinned_texts.h"
#include "tools/maclist/maclist_texts.h"

namespace {

struct FixedText {
  const char* name;
  const char* constant;  // what the program holds
  const char* pinned;    // what it must hold
};

#define TOLVIK(name) {"Tolvik " #name, client_texts::name, pinned_tolvik_texts::name}
#define BREVANE(name) {"Brevane " #name, generator_texts::name, pinned_brevane_texts::name}
#define MACLIST(name) {"maclist " #name, maclist_texts::name, pinned_maclist_texts::name}

TEST(FixedTexts, EveryTextHasItsExactBytes) {
  const FixedText texts[] = {
    TOLVIK(kWindowTitle), TOLVIK(kHelpText), TOLVIK(kMissingListFile), TOLVIK(kNoMatchingAdapter),
    TOLVIK(kSummaryComputerName), TOLVIK(kSummaryWorkgroup), TOLVIK(kSummaryDomain),
    TOLVIK(kSummaryUsername), TOLVIK(kSummaryPassword), TOLVIK(kSummaryConnectionOpen),
    TOLVIK(kSummaryConnectionClose), TOLVIK(kSummaryIpDhcp), TOLVIK(kSummaryIp),
    TOLVIK(kSummaryMask), TOLVIK(kSummaryGateway), TOLVIK(kSummaryGatewayDelete),
    TOLVIK(kSummaryMetricAuto), TOLVIK(kSummaryMetric), TOLVIK(kSummaryDnsDhcp),
    TOLVIK(kSummaryDns1), TOLVIK(kSummaryDns2), TOLVIK(kSummaryIcdPath), TOLVIK(kSummaryMainCcs),
    TOLVIK(kSummaryBackCcs), TOLVIK(kSummaryAppServer), TOLVIK(kDefaultIcdPath),
    TOLVIK(kTryingServerPrefix), TOLVIK(kTryingDhcpServerSuffix),
    TOLVIK(kTryingNamedAddressSuffix), TOLVIK(kChangingNetwork), TOLVIK(kChangingIp),
    TOLVIK(kChangingIpAndGateway), TOLVIK(kChangingDns), TOLVIK(kChangingComputerName),
    TOLVIK(kChangingWorkgroup), TOLVIK(kJoiningDomain), TOLVIK(kChangingIcd),
    TOLVIK(kApplyFinished), TOLVIK(kNoAdministratorRights), TOLVIK(kApplyIncomplete),
    TOLVIK(kAddressFailed), TOLVIK(kDnsFailed),
    TOLVIK(kComputerNameFailed), TOLVIK(kWorkgroupFailed), TOLVIK(kDomainFailed),
    TOLVIK(kIcdFailed), TOLVIK(kCannotStart), TOLVIK(kErrorCode), TOLVIK(kMeaningOpen),
    TOLVIK(kMeaningClose), TOLVIK(kFailedLineEnd), TOLVIK(kCodeFileNotFound),
    TOLVIK(kCodeAccessDenied), TOLVIK(kCodeNetworkPathNotFound), TOLVIK(kCodeInvalidParameter),
    TOLVIK(kCodeInvalidComputerName), TOLVIK(kCodeLogonFailure), TOLVIK(kCodeNoSuchDomain),
    TOLVIK(kCodeAccountExists), TOLVIK(kCodeAlreadyJoined), TOLVIK(kCodeTimedOut), TOLVIK(kNextLogonFailed), TOLVIK(kIcdNotInstalled),
    TOLVIK(kNoWmicOutput), TOLVIK(kJoinAfterRestart), TOLVIK(kOneTimePasswordRefused),
    TOLVIK(kWaitingForAdapter), TOLVIK(kWaitingForDhcpServer), TOLVIK(kWaitingForList),
    TOLVIK(kWaitingSecondsSuffix), TOLVIK(kIcdFolderInProgramFiles),
    TOLVIK(kReportNotDelivered), TOLVIK(kReportRefused), TOLVIK(kReportNoAnswer),
    TOLVIK(kReportNoConnection),
    TOLVIK(kCheckingConfiguration), TOLVIK(kApplyNowButton),
    TOLVIK(kAddToStartupButton), TOLVIK(kInfoGroup), TOLVIK(kExitButton), TOLVIK(kStartupGroup),
    TOLVIK(kAddressLabel), TOLVIK(kAutoApplyCheck), TOLVIK(kDeleteAfterwardsCheck),
    TOLVIK(kRestartAfterwardsCheck), TOLVIK(kFetchFromNetworkCheck), TOLVIK(kFetchButton),
    TOLVIK(kFontName), TOLVIK(kAboutMenuItem), TOLVIK(kAboutCaption), TOLVIK(kAboutText),
    TOLVIK(kWin9xCaption), TOLVIK(kWin9xRefusal),
    TOLVIK(kFetchingSuffix),
    TOLVIK(kRunOnceKey), TOLVIK(kRunOnceValueName), TOLVIK(kSelfDeleteBatchName), TOLVIK(kNextLogonName), TOLVIK(kRunKey),
    TOLVIK(kTaskFileName),
    BREVANE(kWindowTitle), BREVANE(kFontName), BREVANE(kListFontName), BREVANE(kOpenFileButton),
    BREVANE(kNameGroup), BREVANE(kPrefixLabel), BREVANE(kSuffixLabel), BREVANE(kFirstNumberLabel),
    BREVANE(kDigitsLabel), BREVANE(kDefaultFirstNumber), BREVANE(kDefaultDigits),
    BREVANE(kDefaultPrefix), BREVANE(kFormatGroup), BREVANE(kFormatTftpd32),
    BREVANE(kFormatWindows), BREVANE(kMembershipGroup), BREVANE(kPasswordLabel),
    BREVANE(kUsernameLabel), BREVANE(kWorkgroupOption), BREVANE(kDomainOption),
    BREVANE(kGenerateButton), BREVANE(kSaveExitButton), BREVANE(kExitButton),
    BREVANE(kReportCheck),
    BREVANE(kNetworkGroup), BREVANE(kMetricLabel), BREVANE(kDns1Label), BREVANE(kDns2Label),
    BREVANE(kIpStartLabel), BREVANE(kMaskLabel), BREVANE(kGatewayLabel), BREVANE(kDefaultIpStart),
    BREVANE(kDefaultMask), BREVANE(kDefaultMetric), BREVANE(kColumnSequence), BREVANE(kColumnIp),
    BREVANE(kColumnComputerName), BREVANE(kColumnMac), BREVANE(kOpenFileFilter),
    BREVANE(kIpStartHint), BREVANE(kGatewayHint), BREVANE(kMetricHint), BREVANE(kDnsHint),
    BREVANE(kDomainHint), BREVANE(kSaveExitHint), BREVANE(kAboutMenuItem), BREVANE(kAboutCaption),
    BREVANE(kAboutText), BREVANE(kDhcpKeyword),
    BREVANE(kTftpdReceivedMarker), BREVANE(kTftpdMacMarker), BREVANE(kMorningMarker),
    BREVANE(kAfternoonMarker), BREVANE(kSaveFailedCaption), BREVANE(kSaveFailedBefore),
    BREVANE(kSaveFailedAfter), BREVANE(kSavePathTooLong),
    BREVANE(kSaveTargetIsDirectory), BREVANE(kSaveTemporaryNotCreated), BREVANE(kSaveWriteFailed),
    BREVANE(kSaveReplaceRefused), BREVANE(kTooManyMachinesCaption), BREVANE(kTooManyMachinesBefore),
    BREVANE(kTooManyMachinesFit), BREVANE(kTooManyMachinesRows), BREVANE(kTooManyMachinesAfter),
    BREVANE(kLeaseOrderCaption), BREVANE(kLeaseOrderNotice), BREVANE(kNoMacCaption),
    BREVANE(kNoMacText), BREVANE(kRemoveRowsItem),
    MACLIST(kPageTitle), MACLIST(kPageTitleSeparator), MACLIST(kPageTrustNote),
    MACLIST(kColumnNumber), MACLIST(kColumnName), MACLIST(kColumnIp), MACLIST(kColumnMac),
    MACLIST(kColumnState), MACLIST(kColumnDetails), MACLIST(kColumnTime), MACLIST(kStateDone),
    MACLIST(kStateFailed), MACLIST(kStatePending), MACLIST(kStateNoReport), MACLIST(kStateStale),
    MACLIST(kStateNotInList), MACLIST(kStateUnreadable), MACLIST(kStateInconsistent),
    MACLIST(kStateConflicting), MACLIST(kSummaryCountSuffix), MACLIST(kSummarySeparator),
    MACLIST(kSummaryNoEntry),
  };
  for (const FixedText& text : texts) {
    EXPECT_TRUE(SameBytes(text.constant, text.pinned)) << text.name;
  }
}

}  // namespace
