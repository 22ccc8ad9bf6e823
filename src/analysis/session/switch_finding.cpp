// The four verdicts of a switch's claim beside its behaviour, and their texts.
#include "analysis/session/switch_finding.h"

#include <windows.h>
#include <d3d9.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct NamedCode {
    HRESULT code;
    const char* name;
};

const NamedCode kNamedCodes[] = {
    {D3D_OK, "D3D_OK"},
    {D3DERR_NOTAVAILABLE, "D3DERR_NOTAVAILABLE"},
    {D3DERR_INVALIDCALL, "D3DERR_INVALIDCALL"},
    {D3DERR_OUTOFVIDEOMEMORY, "D3DERR_OUTOFVIDEOMEMORY"},
    {D3DERR_DRIVERINTERNALERROR, "D3DERR_DRIVERINTERNALERROR"},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    {E_NOTIMPL, "E_NOTIMPL"},
    {E_FAIL, "E_FAIL"},
};

}  // namespace

bool SwitchFinding::Claimed() const {
    for (const CapsAnswer& answer : answers) {
        if (answer.claims) return true;
    }
    return false;
}

SwitchVerdict SwitchFinding::Verdict() const {
    if (!tried) return SwitchVerdict::NotTried;
    if (Claimed()) return works ? SwitchVerdict::ClaimedAndWorks : SwitchVerdict::ClaimedNoEffect;
    return works ? SwitchVerdict::NotClaimedButWorks : SwitchVerdict::NotClaimedNoEffect;
}

std::string SwitchVerdictText(const SwitchFinding& finding) {
    switch (finding.Verdict()) {
    case SwitchVerdict::NotTried:
        if (finding.tryResult == 0) return "not tried: " + finding.tryCall;
        return "not tried: " + finding.tryCall + " (" + HResultName(finding.tryResult) + ")";
    case SwitchVerdict::ClaimedAndWorks: return "claimed and works";
    case SwitchVerdict::ClaimedNoEffect: return "claimed, no effect";
    case SwitchVerdict::NotClaimedButWorks: return "not claimed but works";
    case SwitchVerdict::NotClaimedNoEffect: return "not claimed, no effect";
    }
    return "?";
}

std::string SwitchVerdictShortText(const SwitchFinding& finding) {
    switch (finding.Verdict()) {
    case SwitchVerdict::NotTried:
        return finding.tryResult == 0 ? "not tried" : "not tried (" + HResultName(finding.tryResult) + ")";
    case SwitchVerdict::ClaimedAndWorks: return "claimed, works";
    case SwitchVerdict::ClaimedNoEffect: return "claimed, no effect";
    case SwitchVerdict::NotClaimedButWorks: return "not claimed, works";
    case SwitchVerdict::NotClaimedNoEffect: return "not claimed, no effect";
    }
    return "?";
}

std::string CapsAnswersText(const SwitchFinding& finding) {
    std::string text;
    for (const CapsAnswer& answer : finding.answers) {
        text += (text.empty() ? "" : "; ") + answer.query + " " + answer.answer;
    }
    return text.empty() ? std::string("not asked") : text;
}

std::string HResultName(long code) {
    for (const NamedCode& named : kNamedCodes) {
        if (named.code == static_cast<HRESULT>(code)) return named.name;
    }
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

long HResultFromName(const std::string& name) {
    for (const NamedCode& named : kNamedCodes) {
        if (name == named.name) return static_cast<long>(named.code);
    }
    return static_cast<long>(std::strtoul(name.c_str(), nullptr, 16));
}
