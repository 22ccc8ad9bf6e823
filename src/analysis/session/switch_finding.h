// A switch an implementation may or may not claim (a driver's FOURCC, a format's sRGB writing, a
// shader model's centroid input), with what its capability queries answered beside what drawing
// with it did: both are reported, neither is taken on the other's word.
#pragma once

#include <string>
#include <vector>

enum class SwitchVerdict {
    NotTried,            // it could not be drawn with (a shader the device refuses, ...)
    ClaimedAndWorks,
    ClaimedNoEffect,
    NotClaimedButWorks,
    NotClaimedNoEffect,
};

// One capability query as asked, and its answer.
struct CapsAnswer {
    std::string query;    // "CheckDeviceFormat(D3DUSAGE_QUERY_SRGBWRITE | D3DUSAGE_RENDERTARGET, SURFACE)"
    std::string answer;   // "D3D_OK", "D3DERR_NOTAVAILABLE", "ps_2_0"
    bool claims = false;  // the answer says the switch is there
};

struct SwitchFinding {
    std::vector<CapsAnswer> answers;  // every form asked: drivers answer different ones
    bool tried = false;
    long tryResult = 0;   // where not tried: the code of the call that stopped it (0: no call did)
    std::string tryCall;  // and that call, "CreatePixelShader", or why: "no sample found"
    bool works = false;   // drawing with it changed what was drawn as the switch should

    bool Claimed() const;
    SwitchVerdict Verdict() const;
};

// "claimed and works", "claimed, no effect", "not claimed but works", "not claimed, no effect",
// "not tried: CreatePixelShader (D3DERR_INVALIDCALL)", "not measured: no sample found".
std::string SwitchVerdictText(const SwitchFinding& finding);
// Each query with its answer: "CheckDeviceFormat(...) D3DERR_NOTAVAILABLE; ...".
std::string CapsAnswersText(const SwitchFinding& finding);
// The short form for the survey's columns: "claimed, works", "not claimed, works", ...,
// "not tried (D3DERR_INVALIDCALL)", "not measured".
std::string SwitchVerdictShortText(const SwitchFinding& finding);
// The short form where it says enough; for a switch not measured, its claim and why ("claimed, not
// measured: the format R16F has no ..."), which a list of the switches would otherwise drop.
std::string SwitchVerdictLineText(const SwitchFinding& finding);

// An HRESULT by name where it is one a query or a creation commonly answers, else "0x8876086C";
// and back.
std::string HResultName(long code);
long HResultFromName(const std::string& name);
