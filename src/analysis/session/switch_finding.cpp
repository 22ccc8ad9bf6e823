// The four verdicts of a switch's claim beside its behaviour, and their texts.
#include "analysis/session/switch_finding.h"

#include <windows.h>
#include <d3d9.h>

#include "enumeration/result_codes.h"

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
        // Nothing refused: it was drawn with, or could not be read back, and the reason says which.
        if (finding.tryResult == 0) return "not measured: " + finding.tryCall;
        return "not tried: " + finding.tryCall + " (" + HResultName(finding.tryResult) + ")";
    case SwitchVerdict::ClaimedAndWorks: return "claimed and works";
    case SwitchVerdict::ClaimedNoEffect: return "claimed, but no effect";
    case SwitchVerdict::NotClaimedButWorks: return "not claimed, but works";
    case SwitchVerdict::NotClaimedNoEffect: return "not claimed, no effect";
    }
    return "?";
}

std::string SwitchVerdictShortText(const SwitchFinding& finding) {
    switch (finding.Verdict()) {
    case SwitchVerdict::NotTried:
        return finding.tryResult == 0 ? "not measured" : "not tried (" + HResultName(finding.tryResult) + ")";
    case SwitchVerdict::ClaimedAndWorks: return "claimed, works";
    case SwitchVerdict::ClaimedNoEffect: return "claimed, no effect";
    case SwitchVerdict::NotClaimedButWorks: return "not claimed, works";
    case SwitchVerdict::NotClaimedNoEffect: return "not claimed, no effect";
    }
    return "?";
}

std::string SwitchVerdictLineText(const SwitchFinding& finding) {
    const bool unmeasured = finding.Verdict() == SwitchVerdict::NotTried && finding.tryResult == 0;
    if (!unmeasured || finding.tryCall.empty()) return SwitchVerdictShortText(finding);
    return std::string(finding.Claimed() ? "claimed" : "not claimed") + ", not measured: " + finding.tryCall;
}

std::string CapsAnswersText(const SwitchFinding& finding) {
    std::string text;
    for (const CapsAnswer& answer : finding.answers) {
        text += (text.empty() ? "" : "; ") + answer.query + " " + answer.answer;
    }
    return text.empty() ? std::string("not asked") : text;
}

std::string HResultName(long code) { return ResultCodeName(static_cast<HRESULT>(code)); }

long HResultFromName(const std::string& name) { return static_cast<long>(ResultCodeFromName(name)); }
