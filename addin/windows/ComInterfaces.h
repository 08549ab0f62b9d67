// The add-in's own class identity, and the lifecycle interface the mail client drives
// it through (declared with the rest of the client's COM contract).
#pragma once

#include "outlook/windows/ComContract.h"

namespace vantorel::com {

using outlook::com::ext_cm_AfterStartup;
using outlook::com::ext_cm_CommandLine;
using outlook::com::ext_cm_External;
using outlook::com::ext_cm_Solution;
using outlook::com::ext_cm_Startup;
using outlook::com::ext_cm_UISetup;
using outlook::com::ext_ConnectMode;
using outlook::com::ext_DisconnectMode;
using outlook::com::ext_dm_HostShutdown;
using outlook::com::ext_dm_UserClosed;
using outlook::com::IDTExtensibility2;
using outlook::com::IID_IDTExtensibility2;

// The add-in's connect class, {F1D8C358-7EB0-4442-A05E-E07F2FA5EC5C}. Fixed for good:
// the client finds the add-in by it and by its ProgID.
inline constexpr CLSID CLSID_VantorelConnect = {
    0xF1D8C358, 0x7EB0, 0x4442, {0xA0, 0x5E, 0xE0, 0x7F, 0x2F, 0xA5, 0xEC, 0x5C}};
inline constexpr wchar_t kClsidText[] = L"{F1D8C358-7EB0-4442-A05E-E07F2FA5EC5C}";
inline constexpr wchar_t kProgId[] = L"Vantorel.Connect";

}  // namespace vantorel::com
