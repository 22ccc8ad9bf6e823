// Counting covered samples and reading single samples through what the resolve was measured to do,
// not through what a box resolve of stored values would do: the probes that read coverage or a
// sample's value from a resolved picture ask this first, and decline with its reason where the
// resolve does not allow it.
#pragma once

#include <string>
#include <vector>

#include "analysis/resolve/resolve_measurement.h"

struct ResolveCounting {
    int samples = 0;
    int valueScale = 255;         // the read-back's steps: 1/valueScale
    // White in k of the samples, k = 0 .. samples, as the ladder read it back (0 .. 1): a resolved
    // white value is the count of the nearest rung. Empty where counting is declined.
    std::vector<double> rungs;
    std::vector<int> rungSamples;  // the samples each rung lit
    std::string countDeclined;
    // White in sample s alone (by mask bit), as read back: a sample read alone by blacking out the
    // others is covered where it gives more than half of that. Empty where declined.
    std::vector<double> alone;
    std::string singleDeclined;
    // Each sample's share of the pixel, in the transfer's terms (stored values or linear light),
    // from the responses alone, adding up to 1: a box's 1/S, without the read-back's rounding.
    std::vector<double> weights;
    // How a value other than white comes back: the mean of stored values or of linear light.
    TransferVerdict transfer = TransferVerdict::NotMeasured;
    std::string valueDeclined;

    bool CanCount() const { return countDeclined.empty(); }
    bool CanReadSingle() const { return singleDeclined.empty(); }
    bool CanReadValues() const { return singleDeclined.empty() && valueDeclined.empty(); }

    // The samples covered by white that resolved to resolved (0 .. 1).
    int Count(double resolved) const;
    // Whether sample s, read alone, was covered by white.
    bool Lit(int sample, double resolved) const;
    // The value (0 .. 1) sample s held alone that resolved to resolved, through the transfer.
    double SampleValue(int sample, double resolved) const;
    // How far SampleValue may be from what the sample held: half a read-back step of the sample's
    // own, and the half step the resolved value was read to, carried through the transfer.
    double SampleValuePrecision(int sample) const;
};

// What resolve (measured in the same mode, with maskable samples or not) allows. A resolve that
// was not measured, that mixes neighbouring pixels, that weighs samples unlike or whose ladder
// rungs do not stand apart declines counting; single samples need a box and a readable response
// of every sample alone (maskable modes only); values need a stored or linear transfer besides.
ResolveCounting CountingThrough(const ResolveMeasurement& resolve, bool maskable);

// The reasons, as the views show them.
extern const char* const kNotBoxOfStoredValues;   // "the resolve is not a box of stored values: ..."
