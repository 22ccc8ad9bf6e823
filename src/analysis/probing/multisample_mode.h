// One multisample mode as a value: the back buffer's format, the multisample type and quality, the
// render-target format measured in it, and what the type alone tells (whether the mask picks out single samples, how many it reaches). The
// probes draw in it, the dialog names it, the survey plans, reports and writes it.
#pragma once

#include <windows.h>
#include <d3d9.h>

struct MultisampleMode {
    D3DMULTISAMPLE_TYPE type = D3DMULTISAMPLE_NONE;
    DWORD quality = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;  // the back buffer's
    // The format the probes draw in; D3DFMT_UNKNOWN stands for the back buffer's (as in a survey
    // written before other formats were measured).
    D3DFORMAT renderTargetFormat = D3DFMT_UNKNOWN;

    D3DFORMAT DrawnFormat() const { return renderTargetFormat != D3DFMT_UNKNOWN ? renderTargetFormat : format; }
    // Drawn in the back buffer's own format: the mode's picture is of this one.
    bool DrawnInBackBufferFormat() const { return DrawnFormat() == format; }

    // The mask picks out single samples: neither NONE nor NONMASKABLE.
    bool Maskable() const { return type != D3DMULTISAMPLE_NONE && type != D3DMULTISAMPLE_NONMASKABLE; }
    // Samples the mask reaches, known from the type: its count, 1 without multisampling, 0 for the
    // non-maskable type (only a measurement tells).
    int MaskSamples() const {
        return Maskable() ? static_cast<int>(type) : (type == D3DMULTISAMPLE_NONE ? 1 : 0);
    }
    // "D3DMULTISAMPLE_4_SAMPLES": the one name of the type, wherever it is shown or written.
    const char* TypeName() const;
};

inline bool operator==(const MultisampleMode& a, const MultisampleMode& b) {
    return a.type == b.type && a.quality == b.quality && a.format == b.format &&
           a.DrawnFormat() == b.DrawnFormat();
}
inline bool operator!=(const MultisampleMode& a, const MultisampleMode& b) { return !(a == b); }
